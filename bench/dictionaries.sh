#!/usr/bin/env bash
# Every real dictionary at once: size, counting speed, round trip, what Hunspell
# accepts, memory. One row per dictionary of Debian's hunspell-* packages
# (download with `apt-get download hunspell-bg ...`, unpack with `dpkg -x`, point
# DICTS at the folder holding the .dic/.aff pairs), plus legacy-charset copies
# made with iconv and the synthetic generator's output at its largest setting.
#
#   bench/dictionaries.sh                (DICTS=/work/dicts/flat, SYNTHETIC=400000)
#   BEFORE=/path/to/an/older/lexaloom-cli bench/dictionaries.sh
#
# Columns:
#   entries, forms      what `count` counts (engine_bench)
#   in-proc Mf/s        in-process counting: forms / time of the whole dictionary
#                       through the engine, no process start, no file reading
#   cmd Mf/s            forms / CPU time (user + system) of `lexaloom-cli count`
#   roundtrip           `roundtrip` saved the pair back byte for byte, apart from
#                       what saving defines (bench/roundtrip_diff.py names them)
#   accepted %          share of `extract --kind accepted` that libhunspell's spell
#                       accepts, each form checked whole (acceptance_bench; an even
#                       sample of at most SAMPLE forms)
#   peak MB             maximum resident size of `count` / of `roundtrip`
# With BEFORE, the same figures of the older build follow on a second line (its
# accepted share from its own extraction file, for dictionaries under 40 M forms).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
DICTS=${DICTS:-/work/dicts/flat}
SAMPLE=${SAMPLE:-100000}
SYNTHETIC=${SYNTHETIC:-400000}
NAMES=${NAMES:-"ar bg_BG ca cs_CZ da_DK el_GR es_ES eu gl_ES he_IL hr_HR is_IS it_IT kk_KZ ko lt_LT lv_LV mn_MN nl pl_PL pt_BR ru_RU sk_SK tr_TR uk_UA"}

[ -x /usr/bin/time ] || { echo "dictionaries.sh: /usr/bin/time not found (package time)" >&2; exit 1; }
if [ -z "${NO_BUILD:-}" ]; then
    cmake --build "$BUILD" -j2 --target lexaloom-cli engine_bench acceptance_bench >/dev/null
fi
CLI=$BUILD/src/cli/lexaloom-cli
# Without the benches (NO_BUILD on a tree that lacks them) the in-process column
# stays empty and the accepted share comes from the extraction file.
[ -x "$BUILD/bench/engine_bench" ] && [ -x "$BUILD/bench/acceptance_bench" ] && INPROC=1 || INPROC=0

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
cc -O2 "$ROOT/bench/hunspell_rejects.c" -o "$TMP/hunspell_rejects" -l:libhunspell-1.7.so.0

# Legacy charsets besides the ones Debian ships: Russian in KOI8-R, Ukrainian in
# microsoft-cp1251 (characters the charset lacks are dropped by iconv -c).
legacy_copy() { # SRC_BASENAME OUT_BASENAME HUNSPELL_NAME ICONV_NAME
    mkdir -p "$(dirname "$2")"
    sed "s/^SET UTF-8/SET $3/" "$1.aff" | iconv -c -f UTF-8 -t "$4" >"$2.aff" || true
    iconv -c -f UTF-8 -t "$4" "$1.dic" >"$2.dic" || true
}
EXTRA=()
if [ -f "$DICTS/ru_RU.dic" ]; then
    legacy_copy "$DICTS/ru_RU" "$TMP/legacy/ru_RU-koi8r" KOI8-R KOI8-R
    EXTRA+=("$TMP/legacy/ru_RU-koi8r.dic")
fi
if [ -f "$DICTS/uk_UA.dic" ]; then
    legacy_copy "$DICTS/uk_UA" "$TMP/legacy/uk_UA-cp1251" microsoft-cp1251 CP1251
    EXTRA+=("$TMP/legacy/uk_UA-cp1251.dic")
fi
mkdir -p "$TMP/synthetic"
python3 "$ROOT/bench/synthetic_dictionary.py" "$TMP/synthetic/synthetic-$SYNTHETIC" "$SYNTHETIC"
EXTRA+=("$TMP/synthetic/synthetic-$SYNTHETIC.dic")

charset_of() { grep -a -m1 -i '^SET' "$1" | tr -d '\r' | awk '{print $2}'; }

# accepted share of an extraction file: every k-th line checked whole.
file_share() { # FILE DIC
    local lines stride
    lines=$(($(wc -l <"$1")))
    [ "$lines" -gt 0 ] || { echo "-"; return; }
    stride=$(((lines + SAMPLE - 1) / SAMPLE))
    local cs
    cs=$(charset_of "${2%.dic}.aff")
    tail -c +4 "$1" | awk -v s="$stride" 'NR % s == 1 || s == 1' >"$TMP/sample"
    if [ -n "$cs" ] && [ "${cs^^}" != UTF-8 ]; then
        iconv -c -f UTF-8 -t "$(echo "$cs" | sed 's/^ISO8859-/ISO-8859-/; s/^microsoft-//')" "$TMP/sample" >"$TMP/sample.cs"
        mv "$TMP/sample.cs" "$TMP/sample"
    fi
    local n r
    n=$(wc -l <"$TMP/sample")
    r=$("$TMP/hunspell_rejects" "${2%.dic}.aff" "$2" <"$TMP/sample" | wc -l)
    awk -v n="$n" -v r="$r" 'BEGIN { printf "%.3f", 100 * (n - r) / n }'
}

row() { # CLI DIC IN_PROCESS(0/1)
    local cli=$1 dic=$2 inproc=$3 name forms entries mfs cmd rt acc mem1 mem2
    name=$(basename "$dic" .dic)
    if [ "$inproc" = 1 ]; then
        "$BUILD/bench/engine_bench" "$dic" 1 >"$TMP/engine" 2>/dev/null
        entries=$(awk '/^entries/ {print $2}' "$TMP/engine")
        forms=$(awk '/^forms/ {print $2}' "$TMP/engine")
        mfs=$(awk '/^count_forms_per_s/ {printf "%.1f", $2 / 1e6}' "$TMP/engine")
    else
        entries=-
        forms=$("$cli" count "$dic" 2>/dev/null | tr -cd '0-9')
        mfs=-
    fi
    /usr/bin/time -f "%U %S %M" -o "$TMP/time" "$cli" count "$dic" >/dev/null 2>&1 || true
    cmd=$(awk -v f="$forms" '{ c = $1 + $2; printf "%.1f", (c > 0 ? f / c / 1e6 : 0) }' "$TMP/time")
    mem1=$(awk '{printf "%.0f", $3 / 1024}' "$TMP/time")
    rm -rf "$TMP/rt"
    if /usr/bin/time -f "%M" -o "$TMP/time2" "$cli" roundtrip "$dic" "$TMP/rt" >/dev/null 2>&1; then
        rt=$(python3 "$ROOT/bench/roundtrip_diff.py" "$dic" "$TMP/rt/$name.dic")
    else
        rt="failed"
    fi
    mem2=$(awk '{printf "%.0f", $1 / 1024}' "$TMP/time2")
    if [ "$inproc" = 1 ]; then
        acc=$("$BUILD/bench/acceptance_bench" "$dic" "$SAMPLE" 0 2>/dev/null | awk '/^accepted_share/ {printf "%.3f", $2}')
    elif [ "${forms:-0}" -lt 40000000 ] && "$cli" extract --kind accepted "$dic" "$TMP/acc.txt" >/dev/null 2>&1; then
        acc=$(file_share "$TMP/acc.txt" "$dic")
    else
        acc="-"
    fi
    printf '%-18s %9s %13s %10s %8s | %-26s | %9s | %6s / %s\n' "$name" "$entries" "$forms" "$mfs" "$cmd" "$rt" "$acc" "$mem1" "$mem2"
}

printf '%-18s %9s %13s %10s %8s | %-26s | %9s | %s\n' "dictionary" "entries" "forms" "in-proc" "cmd" \
    "roundtrip" "accepted" "peak MB"
printf '%-18s %9s %13s %10s %8s | %-26s | %9s | %s\n' "" "" "" "Mf/s" "Mf/s" "" "%" "count / roundtrip"
for n in $NAMES; do
    [ -f "$DICTS/$n.dic" ] || continue
    row "$CLI" "$DICTS/$n.dic" "$INPROC"
    [ -n "${BEFORE:-}" ] && row "$BEFORE" "$DICTS/$n.dic" 0 | sed 's/^\(.\{18\}\)/  before          /'
done
for dic in "${EXTRA[@]}"; do
    row "$CLI" "$dic" "$INPROC"
    [ -n "${BEFORE:-}" ] && row "$BEFORE" "$dic" 0 | sed 's/^\(.\{18\}\)/  before          /'
done
