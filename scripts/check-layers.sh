#!/bin/sh
# Fails when a file of the program includes a header of a folder that the
# table of folders in DEVELOPERS.md does not let its folder use, or when a
# folder's library target links one the table does not allow. The table's
# rows read: | `folder/` | may use: `a/`, `b/` | what lives there |, or
# "nothing of the program" for a folder at the bottom.
# Usage: check-layers.sh [project folder]
set -eu
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
exec perl -e '
use strict; use warnings;
my $top = shift;
open my $doc, "<", "$top/DEVELOPERS.md" or die "DEVELOPERS.md: $!";
my %may;
while (my $line = <$doc>) {
    next unless $line =~ /^\|\s*`([a-z_]+)\/`\s*\|\s*([^|]*)\|/;
    my ($folder, $uses) = ($1, $2);
    # Rows of the program folders only: tests, benchmarks and scripts use any.
    next unless $uses =~ /may use:|nothing of the program/;
    $may{$folder} = { map { $_ => 1 } ($uses =~ /`([a-z_]+)\/`/g) };
}
close $doc;
my $faults = 0;
# A folder of the program (one that makes a library of its own) has its row.
for my $cmake (split /\n/, `find "$top" -mindepth 2 -maxdepth 2 -name CMakeLists.txt`) {
    open my $in, "<", $cmake or die "$cmake: $!";
    local $/; my $text = <$in>; close $in;
    next unless $text =~ /add_library\(\s*quillet_([a-z_]+)/ && !exists $may{$1};
    print "$1/ makes a library but has no row in the table of folders\n";
    ++$faults;
}
for my $folder (sort keys %may) {
    next unless -d "$top/$folder";
    for my $path (split /\n/, `find "$top/$folder" -maxdepth 1 -type f \\( -name "*.cpp" -o -name "*.h" \\)`) {
        open my $in, "<", $path or die "$path: $!";
        my $number = 0;
        while (my $line = <$in>) {
            ++$number;
            next unless $line =~ /^\s*#\s*include\s+"([a-z_]+)\//;
            my $used = $1;
            next if $used eq $folder || !exists $may{$used} || $may{$folder}{$used};
            print substr($path, length($top) + 1), ":$number: $folder/ may not use $used/\n";
            ++$faults;
        }
        close $in;
    }
    my $cmake = "$top/$folder/CMakeLists.txt";
    next unless -f $cmake;
    open my $in, "<", $cmake or die "$cmake: $!";
    local $/; my $text = <$in>; close $in;
    while ($text =~ /target_link_libraries\(\s*quillet_$folder\b([^)]*)\)/g) {
        for my $linked ($1 =~ /quillet_([a-z_]+)/g) {
            next if $may{$folder}{$linked};
            print "$folder/CMakeLists.txt: quillet_$folder may not link quillet_$linked\n";
            ++$faults;
        }
    }
}
if ($faults) { print "$faults use(s) the table of folders in DEVELOPERS.md does not allow\n"; exit 1; }
print "layers: every include and every link is one the table of folders allows\n";
' "$top"
