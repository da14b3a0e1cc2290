# Shared by the sound-card tests: skipping, a scratch show folder, running the show.

kv_tests=$(cd "$(dirname "$0")/.." && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
}

# A scratch folder with the show's pictures and no music yet; removed on exit.
make_show_folder() {
    work=$(mktemp -d)
    trap 'cleanup; rm -rf "$work"' EXIT
    mkdir "$work/Data"
    cp "$1"/*.bmp "$work/Data/"
}

cleanup() { :; }

# run_show PROGRAM SECONDS [VAR=VALUE...]: the show of a SECONDS long piece in $work under a
# virtual X server, given 30 s more than the piece to end by itself. Sets elapsed (seconds).
run_show() {
    show=$1
    limit=$(awk "BEGIN { printf \"%d\", $2 + 30 }")
    shift 2
    started=$(date +%s.%N)
    (cd "$work" && env "$@" timeout "$limit" \
        sh "$kv_tests/support/with_x.sh" 1024x768x24 "$show" \
        >"$work/show.out" 2>"$work/show.err")
    status=$?
    elapsed=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $started }")
    if grep -q "no audio device" "$work/show.err"; then
        echo "FAIL: the show found no audio device:"
        cat "$work/show.err"
        exit 1
    fi
    if [ "$status" -eq 124 ]; then
        echo "FAIL: the show did not end by itself within $limit s"
        exit 1
    fi
    if [ "$status" -ne 0 ]; then
        echo "FAIL: the show ended with status $status:"
        cat "$work/show.err"
        exit 1
    fi
}

# report_end SECONDS: the run's length against the show's end in the music.
report_end() {
    awk "BEGIN { printf \"a %s s piece: the show ended with status 0 after %s s, \" \
        \"its end being at %.3f s of music\\n\", $1, $elapsed, 0.986539 * $1 }"
}
