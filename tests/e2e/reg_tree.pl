#!/usr/bin/perl
# Writes a REGEDIT4 file (CR LF line ends) describing a key tree, for the regedit peer
# check and the regedit benchmark.
#   reg_tree.pl random SEED KEY   a random tree below KEY, up to three levels, every key
#                                 with 1 to 5 values; names and texts of printable
#                                 characters without backslash and double quote (which
#                                 Wine's regedit reads as escapes), texts up to 300
#                                 characters, binaries up to 1 KB, numbers of any sign
#   reg_tree.pl bench KEY [GROUPS]
#                                 GROUPS keys below KEY (default 40) with 50 keys each
#                                 (2,000 keys), each with 10 values: 4 texts, 3
#                                 binaries, 3 numbers
use strict;
use warnings;

my ($mode, @args) = @ARGV;
binmode STDOUT;
print "REGEDIT4\r\n\r\n";

sub hex_line { join ',', map { sprintf '%02X', $_ } @_ }

if ($mode eq 'bench') {
    my ($key, $groups) = @args;
    $groups //= 40;
    srand(7);
    for my $g (0 .. $groups - 1) {
        for my $k (0 .. 49) {
            print sprintf("[%s\\group %02d\\key %03d]\r\n", $key, $g, $k);
            for my $i (0 .. 3) {
                my $text = join '', map { chr(32 + int(rand(95))) } 1 .. 24 + int(rand(40));
                $text =~ tr/\\"/\/'/;
                print "\"text $i\"=\"$text\"\r\n";
            }
            for my $i (0 .. 2) {
                print "\"bytes $i\"=hex:", hex_line(map { int(rand(256)) } 1 .. 16 + int(rand(48))), "\r\n";
            }
            for my $i (0 .. 2) {
                printf "\"number %d\"=dword:%08X\r\n", $i, int(rand(4294967296));
            }
            print "\r\n";
        }
    }
    exit 0;
}

die "usage: reg_tree.pl random SEED KEY | bench KEY [GROUPS]\n" unless $mode eq 'random';
my ($seed, $top) = @args;
srand($seed);

my $tricky = ' =[];@-,:';
sub text {
    my ($max) = @_;
    my $length = int(rand($max + 1));
    my $s = '';
    while (length($s) < $length) {
        my $c = int(rand(4)) == 0 ? substr($tricky, int(rand(length $tricky)), 1)
                                  : chr(32 + int(rand(95)));
        next if $c eq '\\' || $c eq '"';
        $s .= $c;
    }
    return $s;
}

sub key_block {
    my ($key, $depth) = @_;
    print "[$key]\r\n";
    my %used;
    my $count = 1 + int(rand(5));
    for (1 .. $count) {
        my $name = text(16);
        # "@" as a name means the default value only for texts; leave it out.
        next if $name eq '@' || $used{lc $name}++;
        my $kind = int(rand(3));
        if ($kind == 0) {
            my $data = text(int(rand(4)) == 0 ? 300 : 30);
            if ($name eq '') {
                print "\@=\"", ($data eq '' ? 'default' : $data), "\"\r\n";
            } else {
                print "\"$name\"=\"$data\"\r\n";
            }
        } elsif ($kind == 1) {
            my $length = int(rand(4)) == 0 ? 256 + int(rand(769)) : int(rand(41));
            print "\"$name\"=hex:", hex_line(map { int(rand(256)) } 1 .. $length), "\r\n";
        } else {
            printf "\"%s\"=dword:%08X\r\n", $name, int(rand(4294967296));
        }
    }
    print "\"last\"=\"value\"\r\n" unless %used;
    print "\r\n";
    return if $depth == 3;
    my %children;
    for (1 .. ($depth == 0 ? 2 + int(rand(3)) : int(rand(4)))) {
        my $child = text(10);
        next if $child eq '' || $children{lc $child}++;
        key_block("$key\\$child", $depth + 1);
    }
}

key_block($top, 0);
