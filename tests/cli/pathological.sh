#!/usr/bin/env bash
# Scripts that once exhausted the machine: each must be refused within a few
# seconds, in under 300 MB, with one clear message and exit status 1; and
# scripts of millions of entries checked in as little.
#   pathological.sh CLI WORKDIR
set -u
cli="$1"
work="$2"
mkdir -p "$work"

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
cycle = ["MC,XZR,Now", "SC,XZE,Simult", "JC,XZT,Unsync", "MC,RZX,After", "All,Delay,0.5",
         "SD,XZVM,Now", "Mar,XZCEVU,Simult", "Mar,UZX,After", "SC,EZX,Now"]
entries, size = [], 0
while size < 10_000_000:
    entries.append(cycle[len(entries) % len(cycle)])
    size += len(entries[-1]) + 2
scripts = {
    "band_walks": "Mar," + "AV" * 20000 + ",Now",
    "letters": "Mar," + "ABCDEFGHIJKLMNOPQRSTUV" * 50000 + ",Now",
    "valid_entries": ", ".join(entries),
    "commas": "," * 10_000_000,
    "pauses": "All,Delay,0," * 1_390_000,
}
for name, text in scripts.items():
    with open(f"{work}/{name}.txt", "w") as f:
        f.write(text)
PY

failed=0
for name in band_walks letters valid_entries; do
  start=$(date +%s%N)
  # 300 MB of address space at most, 10 seconds at most.
  err=$( (ulimit -v 307200; timeout 10 "$cli" final "$work/$name.txt") 2>&1 >/dev/null)
  rc=$?
  ms=$((($(date +%s%N) - start) / 1000000))
  if [ "$rc" -ne 1 ] || ! grep -q "too long to play" <<<"$err" || [ "$(wc -l <<<"$err")" -ne 1 ]; then
    echo "$name: exit $rc after $ms ms: $err" | head -c 500
    failed=1
  else
    echo "$name: refused in $ms ms"
  fi
done

# The check reads what Play reads, and keeps no more than playing does.
for name in commas pauses; do
  for command in final check; do
    err=$( (ulimit -v 307200; timeout 10 "$cli" "$command" "$work/$name.txt") 2>&1 >/dev/null)
    rc=$?
    if [ "$rc" -gt 1 ]; then
      echo "$command $name: exit $rc: $err" | head -c 500
      failed=1
    else
      echo "$command $name: done in 300 MB"
    fi
  done
done
exit $failed
