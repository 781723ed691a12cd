#!/usr/bin/env bash
# The bash completion offers every option --help lists, the values of the
# options that take a short list or a file, and the scan and tags tools.
#
# usage: completion_test.sh PROGRAM SOURCE_DIR
set -euo pipefail
program=$1 source=$2
fail() { echo "completion_test: $*" >&2; exit 1; }
source "$source/assets/wavecrest.bash-completion"
# Outside of a completion bash refuses compopt; what it would set is not
# what is tested here.
compopt() { :; }
# The words offered for the command line "$@", the last word being completed.
offered() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  _wavecrest
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

# The tools' own options (scan's --ext) are offered after the tool's name.
all=$(offered wavecrest --; offered wavecrest scan dir --)
for option in $(ASAN_OPTIONS=detect_leaks=0 "$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -qx -- "$option" <<<"$all" || fail "$option is in --help but not completed"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/music"
: >"$work/my settings.dat"
cd "$work"
while IFS='|' read -r line want; do
  read -ra words <<<"$line"
  [[ $line == *' ' ]] && words+=("")
  got=$(offered "${words[@]}" | paste -sd ' ')
  [[ $got == "$want" ]] || fail "'$line' offered '$got', not '$want'"
done <<'CASES'
wavecrest --client-version |2.5 3.0 4.0 5.0 6.0 7.0 8.0 9.0
wavecrest --client-version 8|8.0
wavecrest --settings my|my settings.dat
wavecrest --console --irc-password-file m|music my settings.dat
wavecrest --irc-cert my|my settings.dat
wavecrest --irc-channel-key-file my|my settings.dat
wavecrest --member |
wavecrest --owner-account |
wavecrest --pr|--pretty
wavecrest s|scan
wavecrest scan |music
wavecrest scan music --|--ext
wavecrest scan music --ext w|wav wma
wavecrest tags my|my settings.dat
CASES
echo "completion_test: every option of --help is completed, and the values of those that take one"
