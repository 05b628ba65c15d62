#!/usr/bin/perl
# widl writes the time it ran into a type library twice: in the text "Created by WIDL
# version V at DATE" (ctime's format, local time: run widl with TZ=UTC) and as a 32-bit
# count of seconds. Both become 1 January 1970 here, so that the same IDL gives the same
# type library, and the component the same bytes, whenever it is built.
#   typelib_fixed_time.pl FILE.tlb
use strict;
use warnings;
use Time::Local qw(timegm);

my $file = shift or die "usage: $0 FILE.tlb\n";
open(my $in, '<:raw', $file) or die "$file: $!\n";
my $tlb = do { local $/; <$in> };
close($in);

my %month;
@month{qw(Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)} = (0 .. 11);
$tlb =~ /Created by WIDL version [^\n]* at \w{3} (\w{3}) ([ \d]\d) (\d\d):(\d\d):(\d\d) (\d{4})\n/
  or die "$file: widl's creation time is not where it was expected\n";
my $text_at = $-[1] - 4;
my $stamp = pack('V', timegm($5, $4, $3, $2, $month{$1}, $6));
my $count = () = $tlb =~ /\Q$stamp\E/g;
die "$file: the creation time is stored $count times, not once\n" unless $count == 1;
$tlb =~ s/\Q$stamp\E/pack('V', 0)/e;
substr($tlb, $text_at, 24) = 'Thu Jan  1 00:00:00 1970';

open(my $out, '>:raw', $file) or die "$file: $!\n";
print $out $tlb;
close($out) or die "$file: $!\n";
