#!/usr/bin/env bash
# The long fuzz campaign: each harness of fuzz/ for RUNS inputs (default ten
# million), niced, PARALLEL harnesses at a time (default 2, one a core), then
# the line coverage of the project's files over each final corpus. Prints per
# harness: inputs, time, libFuzzer's cov and ft, corpus size, lines covered,
# findings; writes the same table to OUT/summary.md. Usage:
#
#   tools/fuzz.sh [--runs N] [--parallel P] [--harness NAME]... [--out DIR]
#                 [--fresh] [--no-coverage] [--update-corpus] [--report]
#
# Each harness grows its corpus in OUT/corpus/NAME (default OUT:
# build-fuzz/campaign), started from a copy of fuzz/corpus/NAME and kept
# between campaigns (--fresh starts again from the committed one). Findings
# (crash-, leak-, timeout-, oom- inputs) go to OUT/findings, beside
# libFuzzer's slow units (run again and reported, not counted); logs go to
# OUT/logs.
# --update-corpus merges what the campaign found into fuzz/corpus, keeping
# only inputs that add coverage (libFuzzer -merge=1). --report fuzzes
# nothing: it measures and reports the last runs the logs in OUT hold, as for
# a campaign run a few harnesses at a time. Builds with clang at -O1 in
# build-fuzz (and build-fuzz-cov for coverage), two jobs at most.
# Exit status 1 when any harness had a finding.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

runs=10000000 parallel=2 out=build-fuzz/campaign fresh=0 coverage=1 update=0 report=0 harnesses=()
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=${2:?--runs needs a count}; shift 2 ;;
        --parallel) parallel=${2:?--parallel needs a count}; shift 2 ;;
        --harness) harnesses+=("${2:?--harness needs a name}"); shift 2 ;;
        --out) out=${2:?--out needs a folder}; shift 2 ;;
        --fresh) fresh=1; shift ;;
        --no-coverage) coverage=0; shift ;;
        --update-corpus) update=1; shift ;;
        --report) report=1; shift ;;
        -h|--help) sed -n '2,/^set -euo/{/^#/s/^# \?//p}' "$0"; exit 0 ;;
        *) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
if [ ${#harnesses[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do harnesses+=("$(basename "$f" .cpp)"); done
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)

build() {  # build DIR EXTRA_FLAGS
    cmake -S native -B "$1" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=$2" -DBUILD_TESTING=OFF >/dev/null
    nice cmake --build "$1" -j2 --target "${harnesses[@]}" >"$out/build-$(basename "$1").log" 2>&1 ||
        { tail -n 30 "$out/build-$(basename "$1").log"; exit 1; }
}
fuzz_all() {
    echo "Building the harnesses (build-fuzz, -O1)."
    build build-fuzz -O1
    mkdir -p "$out/logs" "$out/findings" "$out/corpus"
    for h in "${harnesses[@]}"; do
        if [ "$fresh" = 1 ] || [ ! -d "$out/corpus/$h" ]; then
            rm -rf "$out/corpus/$h"
            mkdir -p "$out/corpus/$h"
            cp -R "fuzz/corpus/$h/." "$out/corpus/$h/"
        fi
    done
    echo "Fuzzing ${#harnesses[@]} harnesses, $runs inputs each, $parallel at a time; logs in $out/logs."
    local running=0
    for h in "${harnesses[@]}"; do
        if [ "$running" -ge "$parallel" ]; then
            wait -n || true
            running=$((running - 1))
        fi
        run_one "$h" &
        running=$((running + 1))
    done
    wait
}

run_one() {
    local h=$1 status=0
    rm -f "$out/findings/$h-"* "$out/logs/$h.status"
    date '+%F %T %Z' >"$out/logs/$h.started"
    nice -n 19 "build-fuzz/fuzz/$h" -runs="$runs" -timeout=25 -rss_limit_mb=2048 -dict=fuzz/at.dict \
        -print_final_stats=1 -artifact_prefix="$out/findings/$h-" "$out/corpus/$h" \
        >"$out/logs/$h.log" 2>&1 || status=$?
    echo "$status" >"$out/logs/$h.status"
    echo "$(date +%T) $h done (exit $status)"
}

[ "$report" = 1 ] || fuzz_all
for h in "${harnesses[@]}"; do
    [ -f "$out/logs/$h.status" ] || { echo "fuzz.sh: no finished run of $h in $out/logs" >&2; exit 2; }
done
# The first run's start and the last run's end.
started=$(cd "$out/logs" && sort "${harnesses[@]/%/.started}" | head -n 1)
ended=$(cd "$out/logs" && date -r "$(ls -t "${harnesses[@]/%/.status}" | head -n 1)" '+%F %T %Z')

# Line coverage of the project's files over each corpus as it now stands.
declare -A lines
if [ "$coverage" = 1 ]; then
    echo "Measuring line coverage (build-fuzz-cov)."
    build build-fuzz-cov "-O1 -fprofile-instr-generate -fcoverage-mapping"
    mkdir -p "$out/coverage"
    objects=()
    for h in "${harnesses[@]}"; do
        rm -f "$out/coverage/$h".prof*
        LLVM_PROFILE_FILE="$out/coverage/$h.profraw" "build-fuzz-cov/fuzz/$h" -runs=0 "$out/corpus/$h" \
            >/dev/null 2>&1 || true
        llvm-profdata-14 merge -sparse "$out/coverage/$h.profraw" -o "$out/coverage/$h.profdata"
        # The TOTAL row over the project's files this harness links (llvm-cov 14
        # columns: lines are 8, missed lines 9, their cover 10).
        lines[$h]=$(llvm-cov-14 report "build-fuzz-cov/fuzz/$h" -instr-profile="$out/coverage/$h.profdata" \
                        -ignore-filename-regex='(/fuzz/|googletest|^/usr/)' 2>/dev/null |
                    awk '/^TOTAL/ { print $8 - $9 "/" $8 " (" $10 ")" }')
        objects+=(-object "build-fuzz-cov/fuzz/$h")
    done
    # Inline functions of the harnesses differ between them: their data do not merge, and need not.
    llvm-profdata-14 merge -sparse "$out/coverage/"fuzz_*.profdata -o "$out/coverage/all.profdata" 2>/dev/null
    llvm-cov-14 report "${objects[@]:1}" -instr-profile="$out/coverage/all.profdata" \
        -ignore-filename-regex='(/fuzz/|googletest|^/usr/)' >"$out/coverage/all.txt" 2>/dev/null
fi

# libFuzzer keeps an input that ran over 10 s as a slow unit: not a finding,
# as the clock it reads counts time the machine gave to others. Each is run
# again and its time shown, so a slow input tells itself from a busy machine.
slow_units() {
    local f t0 t1 times=()
    for f in "$out/findings/$1-slow-unit-"*; do
        [ -f "$f" ] || continue
        t0=$(date +%s%N)
        "build-fuzz/fuzz/$1" "$f" >/dev/null 2>&1 || true
        t1=$(date +%s%N)
        times+=("$(((t1 - t0) / 1000000)) ms")
    done
    [ ${#times[@]} -eq 0 ] || echo "; ${#times[@]} slow unit(s), run again: ${times[*]}"
}

findings=0
{
    echo "Campaign started $started, ended $ended; $(uname -srm), $(nproc) CPUs"
    echo "($(lscpu | sed -n 's/^Model name: *//p')), load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)."
    echo
    echo "| Harness | Inputs | Time (s) | Inputs/s | cov | ft | Corpus | Lines covered | Findings |"
    echo "|---|---:|---:|---:|---:|---:|---:|---|---|"
    for h in "${harnesses[@]}"; do
        log="$out/logs/$h.log"
        n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
        secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
        speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
        # A run stopped with ^C (libFuzzer's exit 72) has its stats but no "Done" line.
        [ -n "$secs" ] || [ -z "$n" ] || [ "${speed:-0}" = 0 ] || secs="~$((n / speed))"
        last=$(grep -E '^#[0-9]+[[:space:]].*cov: ' "$log" | tail -n 1 || true)
        cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
        ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
        corp=$(find "$out/corpus/$h" -type f | wc -l)
        found=$(find "$out/findings" -type f \( -name "$h-crash-*" -o -name "$h-leak-*" -o -name "$h-timeout-*" \
                     -o -name "$h-oom-*" \) | wc -l)
        status=$(cat "$out/logs/$h.status")
        what=none
        if [ "$found" = 0 ] && [ "$status" = 72 ]; then
            what="none (stopped before its runs)"
        elif [ "$found" -gt 0 ] || [ "$status" != 0 ]; then
            findings=1
            what="$found (exit $status): $(grep -m1 -E '^==[0-9]+== ?ERROR|runtime error|property violated' "$log" |
                                          cut -c1-80 || true)"
        fi
        what+=$(slow_units "$h")
        echo "| $h | ${n:-?} | ${secs:-?} | ${speed:-?} | ${cov:-?} | ${ft:-?} | $corp | ${lines[$h]:-} | $what |"
    done
    if [ -f "$out/coverage/all.txt" ]; then
        echo
        echo "Lines of the project's files covered by all the harnesses together (llvm-cov):"
        echo
        echo '```'
        { echo "File Lines Missed Cover"
          awk '$8 ~ /^[0-9]+$/ { print $1, $8, $9, $10 }' "$out/coverage/all.txt"; } | column -t
        echo '```'
    fi
} >"$out/summary.md"
# Not piped to tee: a pipeline would keep "findings" in a subshell.
cat "$out/summary.md"

if [ "$update" = 1 ]; then
    for h in "${harnesses[@]}"; do
        "build-fuzz/fuzz/$h" -merge=1 "fuzz/corpus/$h" "$out/corpus/$h" >"$out/logs/$h.merge.log" 2>&1
        echo "fuzz/corpus/$h: $(find "fuzz/corpus/$h" -type f | wc -l) inputs"
    done
fi
exit "$findings"
