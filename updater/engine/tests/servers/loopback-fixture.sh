# Sourced by the servers that ctest starts for the download tests
# (nginx-test-server, proxy-test-server): a server of the system's packages
# on a free port of 127.0.0.1, run as the caller's own user, shared by
# overlapping test runs of one build tree.
#
#   <server> start --dir DIR --state FILE [--root DIR] [--lifetime SECONDS]
#   <server> stop --state FILE
#
# `start` starts the server unless one started earlier is still running, and
# returns once it answers; the state file then holds "port=N" and "pid=N".
# Each `start` records its caller (the ctest process) as a user; `stop`
# removes its caller and ends the server when no live user is left. Whatever
# happens, the server ends by itself --lifetime seconds (600 by default)
# after the last `start`.
#
# The sourcing script defines
#   server_name                 used in messages
#   server_check                fails with a message when the program is missing
#   server_launch PORT          writes the configuration for PORT into $dir and
#                               starts the server in the background (setsid),
#                               leaving its pid in $launched_pid
#   server_port_taken           true when the last launch failed because the
#                               port was in use
# and then calls fixture_main "$@".
set -euo pipefail

die() {
    echo "$server_name: $*" >&2
    exit 1
}

alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

state_value() {
    [ -f "$state" ] || return 0
    sed -n "s/^$1=//p" "$state" | head -n 1
}

# The users still alive, one pid a line.
live_users() {
    local pid
    [ -f "$state.users" ] || return 0
    while read -r pid; do
        if alive "$pid"; then echo "$pid"; fi
    done < "$state.users"
}

# Starts the server on a port nobody listens on.
launch() {
    local attempt port
    mkdir -p "$dir"
    for attempt in $(seq 20); do
        port=$((20000 + RANDOM % 40000))
        launched_pid=
        server_launch "$port"
        for _ in $(seq 50); do
            if ! alive "$launched_pid"; then break; fi
            if (exec 3<> "/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
                printf 'port=%s\npid=%s\n' "$port" "$launched_pid" > "$state"
                return 0
            fi
            sleep 0.1
        done
        kill "$launched_pid" 2>/dev/null || true
        # Another program took the port: try another one.
        server_port_taken || break
    done
    die "it did not start (its logs are in $dir)"
}

# Ends the server once the deadline in "$state.deadline" has passed.
watchdog() {
    local pid=$1 deadline
    while alive "$pid"; do
        deadline=$(cat "$state.deadline" 2>/dev/null || echo 0)
        if [ "$(date +%s)" -ge "$deadline" ]; then
            kill "$pid" 2>/dev/null || true
            break
        fi
        sleep 5
    done
}

start() {
    [ -n "$dir" ] || die "start needs --dir"
    server_check
    echo $(($(date +%s) + lifetime)) > "$state.deadline"
    local pid
    pid=$(state_value pid)
    if ! alive "$pid"; then
        rm -f "$state.users"
        launch
        pid=$(state_value pid)
        setsid bash -c "$(declare -f alive watchdog); state='$state'; watchdog $pid" \
            < /dev/null > /dev/null 2>&1 9>&- &
    fi
    { live_users; echo "$caller"; } > "$state.users.new"
    mv "$state.users.new" "$state.users"
}

stop() {
    local pid users
    pid=$(state_value pid)
    users=$(live_users | grep -vx "$caller" || true)
    if [ -n "$users" ] && alive "$pid"; then
        echo "$users" > "$state.users"
        return 0
    fi
    if alive "$pid"; then
        kill "$pid"
        for _ in $(seq 50); do
            alive "$pid" || break
            sleep 0.1
        done
    fi
    rm -f "$state" "$state.users" "$state.deadline"
}

fixture_main() {
    local command=${1:-}
    [ $# -gt 0 ] && shift
    dir= root= state= lifetime=600
    while [ $# -gt 0 ]; do
        case $1 in
            --dir) dir=$2; shift 2 ;;
            --root) root=$2; shift 2 ;;
            --state) state=$2; shift 2 ;;
            --lifetime) lifetime=$2; shift 2 ;;
            *) die "unknown argument $1" ;;
        esac
    done
    [ -n "$state" ] || die "--state is required"
    caller=$PPID

    mkdir -p "$(dirname "$state")"
    exec 9> "$state.lock"
    flock 9
    case $command in
        start) start ;;
        stop) stop ;;
        *) die "usage: $server_name start --dir DIR --state FILE [--root DIR] [--lifetime SECONDS] | stop --state FILE" ;;
    esac
}
