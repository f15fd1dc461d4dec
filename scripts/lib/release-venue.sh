# Steps scripts/demo and scripts/measure-large-venue share; source it with
# $root set to the repository.

# release_build TARGET...: the release build in build/release (no tests,
# no benchmarks), with the targets built; sets $build.
release_build() {
    build=$root/build/release
    local generator=()
    if command -v ninja >/dev/null; then
        generator=(-G Ninja)
    fi
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DVANTIC_GUI=ON -DVANTIC_TESTS=OFF -DVANTIC_BENCH=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)" --target "$@"
}

# serve_venue NAME SCRATCH VENUE [OPTION...]: the reference server on a
# free loopback port, its output in SCRATCH/server.out and server.err,
# stopped when the script exits (or by stop_server). Sets $server (its pid)
# and $address once it says "listening ADDR:PORT"; exits with the server's
# errors, prefixed by NAME, when it does not start.
serve_venue() {
    local name=$1 scratch=$2 venue=$3
    shift 3
    : >"$scratch/server.out"
    "$build/server/vantic-server" serve --data "$venue" --listen 127.0.0.1:0 "$@" \
        >"$scratch/server.out" 2>"$scratch/server.err" &
    server=$!
    trap stop_server EXIT
    address=
    for _ in $(seq 1 300); do
        address=$(awk '$1 == "listening" { print $2 }' "$scratch/server.out" || true)
        [ -n "$address" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$address" ]; then
        echo "$name: the server did not start:" >&2
        cat "$scratch/server.err" >&2
        exit 1
    fi
}

stop_server() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
}
