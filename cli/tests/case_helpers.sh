# Helpers shared by the monitor's shell cases (sourced, not run).

wait_for() {  # wait_for FILE TEXT [TENTHS]: until FILE holds TEXT, at most 15 s unless told
    for _ in $(seq "${3:-150}"); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    echo "no '$2' in $1:"; cat "$1" 2>/dev/null; return 1
}

get() {  # get PORT PATH: the body of an HTTP GET on 127.0.0.1
    exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
    printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$2" >&3
    sed '1,/^\r$/d' <&3
    exec 3<&-
}
