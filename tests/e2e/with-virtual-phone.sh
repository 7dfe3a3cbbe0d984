#!/usr/bin/env bash
# Runs a command with the virtual phone behind a COM port of the Wine prefix.
#
#   with-virtual-phone.sh --phone PATH [--port COMn] [--log FILE] [--phone-option ARG]... -- COMMAND...
#
# Each --phone-option is passed on to the phone (its answer modes: --answer, --echo, ...).
# The phone's pseudo-terminal is linked as $WINEPREFIX/dosdevices/comn. The command sees
# TASTOLINK_TEST_PORT (the port name) and TASTOLINK_TEST_PHONE_LOG (the phone's log, a Unix
# path); the phone is stopped afterwards and the command's exit status returned.
set -euo pipefail

phone="" port=COM7 log="" phone_options=()
while [ $# -gt 0 ]; do
    case "$1" in
        --phone) phone=$2; shift 2 ;;
        --port) port=$2; shift 2 ;;
        --log) log=$2; shift 2 ;;
        --phone-option) phone_options+=("$2"); shift 2 ;;
        --) shift; break ;;
        *) echo "with-virtual-phone.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[ -n "$phone" ] && [ $# -gt 0 ] || { echo "usage: with-virtual-phone.sh --phone PATH [--port COMn] [--log FILE] -- COMMAND..." >&2; exit 2; }
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/dosdevices" ] || { echo "with-virtual-phone.sh: WINEPREFIX names no Wine prefix" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/virtual-phone.XXXXXX")
[ -n "$log" ] || log=$work/phone.log
link=$WINEPREFIX/dosdevices/$(printf '%s' "$port" | tr '[:upper:]' '[:lower:]')

# Wine re-creates its comN links when the prefix's services start: have them up first so
# that they can't replace our link while the command runs.
wineserver -p >/dev/null 2>&1 || true
wine cmd.exe /c exit >/dev/null 2>&1 || true

"$phone" --link "$link" --log "$log" --ready-file "$work/ready" "${phone_options[@]}" >"$work/phone.out" 2>&1 &
phone_pid=$!
stop_phone() {
    kill -TERM "$phone_pid" 2>/dev/null || true
    wait "$phone_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap stop_phone EXIT

for _ in $(seq 200); do
    [ -f "$work/ready" ] && break
    kill -0 "$phone_pid" 2>/dev/null || { cat "$work/phone.out" >&2; exit 1; }
    sleep 0.05
done
[ -f "$work/ready" ] || { echo "with-virtual-phone.sh: the phone did not become ready" >&2; exit 1; }

status=0
TASTOLINK_TEST_PORT=$port TASTOLINK_TEST_PHONE_LOG=$log "$@" || status=$?
if [ "$status" -ne 0 ]; then
    echo "--- virtual phone ($port) ---"
    cat "$work/phone.out"
fi
exit "$status"
