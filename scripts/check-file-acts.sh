#!/bin/sh
# Fails when the program's code changes a file by a path outside the room of
# file acts (file_acts/) and the code of the working folder's own files: every
# act on the user's files goes through a held folder and a checked handle.
# Usage: check-file-acts.sh [project folder]; lists each offending call.
set -eu
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
exec perl -e '
use strict; use warnings;
my $top = shift;
# Folders that are the program (not its tests, benchmarks or scripts).
my @program = qw(app watch older cleanup report guard sort undo plan catalogue place settings window history model util file_acts contents);
# Where acts by path are allowed, and why:
my %allowed = (
    "file_acts" => "the room of file acts itself",
    "settings/settings_file.cpp" => "the settings file in the working folder",
    "util/file_replacement.cpp" => "rewrites the working folder'"'"'s own files whole",
    "history/history_file.cpp" => "the history in the working folder",
    "catalogue/user_rows_append.cpp" => "the user'"'"'s own rows in the working folder",
    "report/leftover_report.cpp" => "the report Quillet.Log in the working folder",
);
my $changing = qr/\b(DeleteFile\w*|MoveFile\w*|CopyFile\w*|ReplaceFile\w*|RemoveDirectory\w*|CreateDirectory\w*|SHFileOperation\w*|SHCreateDirectory\w*|SetFileInformationByHandle|NtSetInformationFile|NtCreateFile|SetFileAttributes\w*|_wremove|_wrename|(?<![.>:\w])remove|(?<![.>:\w])rename|std::filesystem)\s*[\(:]/;
my $writing = qr/\b(GENERIC_WRITE|GENERIC_ALL|FILE_WRITE_DATA|FILE_APPEND_DATA|FILE_WRITE_ATTRIBUTES|DELETE|WRITE_DAC|WRITE_OWNER|CREATE_NEW|CREATE_ALWAYS|OPEN_ALWAYS|TRUNCATE_EXISTING|FILE_FLAG_DELETE_ON_CLOSE)\b/;
my $faults = 0;
sub allowed { my $rel = shift; for my $key (keys %allowed) { return 1 if $rel eq $key || index($rel, "$key/") == 0; } return 0; }
sub strip { my $text = shift; $text =~ s{//[^\n]*}{}g; $text =~ s{/\*.*?\*/}{}gs; $text =~ s{"(?:\\.|[^"\\\n])*"}{""}g; return $text; }
sub arguments { my ($text, $at) = @_; my $depth = 0; my $start = index($text, "(", $at);
    for (my $i = $start; $i < length $text; ++$i) { my $c = substr($text, $i, 1);
        ++$depth if $c eq "("; --$depth if $c eq ")"; return substr($text, $start + 1, $i - $start - 1) if $depth == 0; }
    return ""; }
sub report { my ($rel, $text, $at, $what) = @_; my $line = 1 + (substr($text, 0, $at) =~ tr/\n//);
    print "$rel:$line: $what\n"; ++$faults; }
for my $folder (@program) {
    next unless -d "$top/$folder";
    for my $path (split /\n/, `find "$top/$folder" -type f \\( -name "*.cpp" -o -name "*.h" \\)`) {
        my $rel = substr($path, length($top) + 1);
        next if allowed($rel);
        open my $in, "<", $path or die "$path: $!"; local $/; my $text = strip(<$in>); close $in;
        while ($text =~ /$changing/g) { report($rel, $text, $-[0], "$1 changes a file by its path"); }
        while ($text =~ /\bCreateFile\w*\s*\(/g) {
            my $at = $-[0]; my @args = split /,/, arguments($text, $at);
            my $access = $args[1] // ""; my $rest = join ",", @args[1 .. $#args];
            if ($rest =~ $writing) { report($rel, $text, $at, "CreateFile opens for a change: $1"); }
            elsif ($access !~ /^\s*(0|GENERIC_READ|FILE_READ_\w+|FILE_LIST_DIRECTORY|FILE_TRAVERSE|SYNCHRONIZE|READ_CONTROL|\s|\|)*$/) {
                report($rel, $text, $at, "CreateFile with an access this check cannot read: $access"); }
        }
    }
}
if ($faults) { print "$faults file act(s) by path outside file_acts/ (see scripts/check-file-acts.sh)\n"; exit 1; }
print "file acts: every change of a file goes through file_acts/\n";
' "$top"
