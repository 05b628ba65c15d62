#!/usr/bin/perl
# Writes a REGEDIT4 file (CR LF line ends) describing a key tree in the form the
# platform's regedit writes: names and texts escaped (\\ and \"), hex(N) for the types
# without a form of their own, long hex lines continued with a trailing backslash.
#   reg_tree.pl random SEED KEY   a random tree below KEY, up to three levels, keys with
#                                 0 to 6 values of every type: texts with backslashes and
#                                 double quotes up to 300 characters, binaries up to 1 KB,
#                                 numbers of any sign and of other sizes, expandable and
#                                 multi texts, 64-bit numbers, values without a type
#   reg_tree.pl peer KEY          the fixed tree of the regedit peer check: paths with
#                                 backslashes, a trailing backslash, UNC paths and double
#                                 quotes in names and texts, characters above 127, texts
#                                 with a line break or a NUL inside, every type, an empty
#                                 key, an empty and an expandable default value
#   reg_tree.pl unicode KEY       names and texts outside every ANSI code page beside
#                                 their look-alikes (Dvo\x{159}\x{e1}k beside
#                                 Dvor\x{e1}k), Chinese, an emoji, in the form of
#                                 regedit's default export, version 5.00; printed in
#                                 UTF-8, for iconv to turn into UTF-16LE
#   reg_tree.pl bench KEY [GROUPS]
#                                 GROUPS keys below KEY (default 40) with 50 keys each
#                                 (2,000 keys), each with 10 values: 4 texts, 3
#                                 binaries, 3 numbers
use strict;
use warnings;

my ($mode, @args) = @ARGV;
binmode STDOUT;

sub hex_line { join ',', map { sprintf '%02X', $_ } @_ }

sub quoted {
    my ($text) = @_;
    $text =~ s/([\\"])/\\$1/g;
    return "\"$text\"";
}

# A value line with hex data, wrapped as regedit wraps it: lines of at most 80
# characters, each but the last ending in ",\", the next indented by two blanks.
sub hex_value {
    my ($name, $type, @bytes) = @_;
    my $line = ($name eq '' ? '@' : quoted($name)) . '=' . ($type eq '' ? 'hex:' : "hex($type):");
    my @pairs = map { sprintf '%02x', $_ } @bytes;
    while (@pairs) {
        my $pair = shift @pairs;
        if (length($line) + 3 > 76 && $line !~ /:$/) {
            print "$line\\\r\n";
            $line = '  ';
        }
        $line .= $pair . (@pairs ? ',' : '');
    }
    print "$line\r\n";
}

sub text_value {
    my ($name, $text) = @_;
    print(($name eq '' ? '@' : quoted($name)), '=', quoted($text), "\r\n");
}

sub ansi_bytes { map { ord } split //, $_[0] }
sub utf16_bytes { map { ($_ & 0xFF, $_ >> 8) } map { ord } split //, $_[0] }

if ($mode eq 'unicode') {
    my ($top) = @args;
    binmode STDOUT, ':encoding(UTF-8)';
    my $dvorak = "Dvo\x{159}\x{e1}k";
    my $chinese = "\x{6570}\x{636e}";
    print "Windows Registry Editor Version 5.00\r\n\r\n[$top]\r\n";
    text_value($dvorak, 'secret');
    text_value("Dvor\x{e1}k", 'other');
    text_value('text', "caf\x{e9} \x{1f600} $chinese \x{ff02}\x{a5}\x{2215}");
    hex_value('expand', 2, utf16_bytes("%\x{159}%"), 0, 0);
    hex_value('multi', 7, utf16_bytes("\x{142}"), 0, 0, utf16_bytes("\x{416}"), 0, 0, 0, 0);
    print "\r\n[$top\\$dvorak]\r\n";
    text_value('', "\x{159}");
    print "\r\n[$top\\Dvor\x{e1}k]\r\n";
    text_value('', 'r');
    print "\r\n[$top\\$chinese]\r\n";
    text_value("\x{416}", $chinese);
    print "\r\n";
    exit 0;
}

print "REGEDIT4\r\n\r\n";

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

if ($mode eq 'peer') {
    my ($top) = @args;
    print "[$top]\r\n";
    hex_value('', 2, ansi_bytes("%SystemRoot%\\System32"), 0);
    text_value('Path', 'C:\\Bin\\Tarnwell');
    text_value('Data', 'C:\\Data\\');
    text_value('Share', '\\\\server\\models\\survey 1');
    text_value('Quoted', 'say "hi" to "C:\\x.exe" "%1"');
    text_value('C:\\Models', 'a name with backslashes');
    text_value('say "hi"', 'a name with quotes');
    text_value('ends with \\', '\\');
    text_value('empty', '');
    text_value('\\\\server\\share', 'a UNC path as a name');
    text_value("caf\xe9", "\x80 5, na\xefve");
    hex_value('lines', 1, ansi_bytes("first\r\nsecond"), 0);
    hex_value('nul inside', 1, ansi_bytes('a'), 0, ansi_bytes('b'), 0);
    hex_value('expand', 2, ansi_bytes('%TEMP%\\tarnwell'), 0);
    hex_value('multi', 7, ansi_bytes("C:\\one"), 0, ansi_bytes("\\\\two\\"), 0, 0);
    hex_value('wide', 'b', 1, 2, 3, 4, 5, 6, 7, 0x80);
    hex_value('none', 0);
    hex_value('none bytes', 0, 1, 2);
    hex_value('two', 4, 1, 2);
    hex_value('eight', 4, 1, 0, 0, 0, 0, 0, 0, 0);
    hex_value('long', '', map { $_ % 256 } 0 .. 299);
    printf "\"number\"=dword:%08x\r\n", 0xFFFFFFFE;
    print "\r\n[$top\\empty]\r\n\r\n";
    print "[$top\\empty default]\r\n";
    hex_value('', 1, 0);
    print "\r\n[$top\\default text]\r\n";
    text_value('', 'C:\\Default\\');
    print "\r\n";
    exit 0;
}

die "usage: reg_tree.pl random SEED KEY | peer KEY | bench KEY [GROUPS]\n" unless $mode eq 'random';
my ($seed, $top) = @args;
srand($seed);

my $tricky = ' =[];@-,:\\"';
sub text {
    my ($max) = @_;
    my $length = int(rand($max + 1));
    my $s = '';
    while (length($s) < $length) {
        $s .= int(rand(4)) == 0 ? substr($tricky, int(rand(length $tricky)), 1)
                                : chr(32 + int(rand(95)));
    }
    return $s;
}

sub random_bytes { map { int(rand(256)) } 1 .. $_[0] }

sub key_block {
    my ($key, $depth) = @_;
    print "[$key]\r\n";
    my %used;
    for (1 .. int(rand(7))) {
        my $name = text(16);
        next if $used{lc $name}++;
        my $kind = int(rand(9));
        if ($kind <= 1) {
            text_value($name, text(int(rand(4)) == 0 ? 300 : 30));
        } elsif ($kind == 2) {
            hex_value($name, '', random_bytes(int(rand(4)) == 0 ? 256 + int(rand(769)) : int(rand(41))));
        } elsif ($kind == 3) {
            printf "%s=dword:%08x\r\n", ($name eq '' ? '@' : quoted($name)), int(rand(4294967296));
        } elsif ($kind == 4) {
            hex_value($name, 4, random_bytes((0, 1, 2, 3, 8)[int(rand(5))]));
        } elsif ($kind == 5) {
            hex_value($name, 2, ansi_bytes('%' . text(12) . '%'), 0);
        } elsif ($kind == 6) {
            hex_value($name, 7, ansi_bytes(text(10)), 0, ansi_bytes(text(10)), 0, 0);
        } elsif ($kind == 7) {
            hex_value($name, 'b', random_bytes(8));
        } else {
            hex_value($name, 0, random_bytes(int(rand(5))));
        }
    }
    print "\r\n";
    return if $depth == 3;
    my %children;
    for (1 .. ($depth == 0 ? 2 + int(rand(3)) : int(rand(4)))) {
        my $child = text(10);
        $child =~ tr/\\/\//;
        $child =~ s/^\s+|\s+$//g;
        next if $child eq '' || $children{lc $child}++;
        key_block("$key\\$child", $depth + 1);
    }
}

key_block($top, 0);
