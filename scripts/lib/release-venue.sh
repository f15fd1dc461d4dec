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

# Every process started in the background here, stopped when the script
# exits (or by stop_started).
started=()
stop_started() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${started[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    started=()
}

# await_listening NAME PID OUT ERR: waits for the line "listening ADDR:PORT"
# that process PID writes to the file OUT and sets $listening to ADDR:PORT;
# exits with the process's errors (file ERR), prefixed by NAME, when it ends
# first or says nothing for 30 s.
await_listening() {
    local name=$1 pid=$2 out=$3 err=$4
    listening=
    for _ in $(seq 1 300); do
        listening=$(awk '$1 == "listening" { print $2 }' "$out" || true)
        [ -n "$listening" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$name: the server did not start:" >&2
    cat "$err" >&2
    exit 1
}

# serve_venue NAME SCRATCH VENUE [OPTION...]: the reference server on a
# free loopback port, its output in SCRATCH/server.out and server.err,
# stopped when the script exits (or by stop_server). Sets $server (its pid)
# and $address once it says "listening ADDR:PORT"; exits with the server's
# errors, prefixed by NAME, when it does not start.
serve_venue() {
    local name=$1 scratch=$2 venue=$3
    shift 3
    start_listening "$name" "$scratch/server.out" "$scratch/server.err" \
        "$build/server/vantic-server" serve --data "$venue" --listen 127.0.0.1:0 "$@"
    server=$started_pid
    address=$listening
}

# start_listening NAME OUT ERR COMMAND...: COMMAND in the background with its
# output in OUT and ERR, stopped when the script exits; sets $started_pid and,
# once it says "listening ADDR:PORT", $listening.
start_listening() {
    local name=$1 out=$2 err=$3
    shift 3
    : >"$out"
    "$@" >"$out" 2>"$err" &
    started_pid=$!
    started+=("$started_pid")
    trap stop_started EXIT
    await_listening "$name" "$started_pid" "$out" "$err"
}

stop_server() {
    stop_started
}

# serve_updates NAME SCRATCH ROOT: vantic-update-server serving the folder
# ROOT (ROOT/downloads/update1.sig and update1.exe) over HTTPS on a free
# loopback port, with a self-signed certificate made now in SCRATCH; its
# output in SCRATCH/update-server.out and update-server.err, one line per
# request in SCRATCH/update-requests.log. Stopped when the script exits.
# Sets $update_address once it listens.
serve_updates() {
    local name=$1 scratch=$2 updates=$3
    if ! openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=localhost -days 30 \
        -keyout "$scratch/update-key.pem" -out "$scratch/update-cert.pem" \
        >"$scratch/update-server.err" 2>&1; then
        echo "$name: openssl could not make the update server's certificate:" >&2
        cat "$scratch/update-server.err" >&2
        exit 1
    fi
    start_listening "$name" "$scratch/update-server.out" "$scratch/update-server.err" \
        "$build/server/vantic-update-server" --root "$updates" --cert "$scratch/update-cert.pem" \
        --key "$scratch/update-key.pem" --log "$scratch/update-requests.log"
    update_address=$listening
}
