#!/usr/bin/env bash
# The systemd unit installed under a prefix starts the program installed
# under that prefix, and a stop by signal is no failure.
#   service_unit_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "service_unit_test: $*" >&2; exit 1; }

for prefix in "$work/usr/local" "$work/opt/wc"; do
  cmake --install "$build" --prefix "$prefix" >/dev/null
  unit="$prefix/lib/systemd/user/wavecrest-bot.service"
  [[ -f "$unit" ]] || fail "no unit under $prefix"
  grep -qx "ExecStart=$prefix/bin/wavecrest --console --raw \$WAVECREST_BOT_ARGS" "$unit" ||
    fail "the unit under $prefix does not start $prefix/bin/wavecrest: $(grep ExecStart "$unit")"
  [[ -x "$prefix/bin/wavecrest" ]] || fail "no program at $prefix/bin/wavecrest"
  grep -qx 'SuccessExitStatus=129 130 143' "$unit" || fail "a stop by signal would count as a failure"
done
# The statuses the unit names are those the program ends with on those signals.
grep -q 'ExitStatusForSignal(int signal) { return 128 + signal; }' "$(dirname "$0")/../../src/app/signals/termination_signals.h" ||
  fail "the program's signal exit statuses changed: update SuccessExitStatus"
