#!/usr/bin/env bash
# The Windows build's current time under Wine, in several time zones, is the
# local time of date(1) in that zone: read back as seconds since the epoch it
# lies between the system times taken before and after the run.
# Usage: time_stamp_local_time_test.sh time_stamp_check.exe
set -uo pipefail
check="$1"
status=0
for tz in "" UTC0 XYZ-8 ABC+5:30; do
  if [ -n "$tz" ]; then export TZ="$tz"; else unset TZ; fi
  before="$(date +%s)"
  got="$(wine "$check" now | tr -d '\r')"
  after="$(date +%s)"
  seconds="$(date -d "$got" +%s 2>/dev/null || echo none)"
  if [ "$seconds" != none ] && [ "$seconds" -ge "$before" ] && [ "$seconds" -le "$after" ]; then
    echo "TZ=${tz:-(unset)}: $got"
  else
    echo "TZ=${tz:-(unset)}: Windows build says '$got', not local time between $(date -d "@$before" '+%F %T') and $(date -d "@$after" '+%F %T')"
    status=1
  fi
done
exit $status
