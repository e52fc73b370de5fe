# Shared by smoke-xvfb.sh and take-screenshot.sh (sourced, not run): starts
# Quillery on a virtual X display with a home folder of its own, finds its
# window, grabs it, and stops the program as the desktop would.

# Runs the calling script again under Xvfb and a private D-Bus session bus.
# Xvfb sometimes fails to start on a loaded machine, so that is retried; a
# failure of the script itself is not.
quillery_rerun_under_xvfb() {
    local script=$1
    shift
    local marker
    marker=$(mktemp)
    local attempt rc=0
    for attempt in 1 2 3; do
        rm -f "$marker"
        QUILLERY_XVFB_MARKER=$marker QUILLERY_UNDER_XVFB=1 \
            xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
            dbus-run-session -- bash "$script" "$@" && rc=0 || rc=$?
        if [[ -e $marker ]]; then
            rm -f "$marker"
            return "$rc"
        fi
        echo "Xvfb did not start (attempt $attempt, status $rc); trying again" >&2
        sleep $((attempt * 2))
    done
    return 1
}

# Inside the virtual display: says the display came up.
quillery_display_started() {
    [[ -n ${QUILLERY_XVFB_MARKER:-} ]] && touch "$QUILLERY_XVFB_MARKER"
    return 0
}

# Points HOME and the XDG folders at a fresh folder (the first argument) and
# keeps the program off the network.
quillery_isolate() {
    local root=$1
    export HOME=$root/home
    export XDG_CONFIG_HOME=$HOME/.config
    export XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache
    export XDG_STATE_HOME=$HOME/.local/state
    export XDG_RUNTIME_DIR=$root/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
    export QUILLERY_PLACES_URL=off
    export QUILLERY_TILE_URL=off
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
}

# The largest viewable top-level window of the process's X class, or nothing.
quillery_find_window() {
    local id size best='' best_area=0
    while read -r id size; do
        local w=${size%%x*} h=${size#*x}
        h=${h%%+*}
        h=${h%%-*}
        if ((w * h > best_area)) && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            best=$id
            best_area=$((w * h))
        fi
    done < <(xwininfo -root -children 2>/dev/null \
        | awk '/\("quillery" "Quillery"\)/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[+-]/) print $1, $i }')
    ((best_area >= 200 * 200)) && echo "$best"
    return 0
}

# Waits up to $2 seconds for the window of process $1; prints its id.
quillery_wait_window() {
    local pid=$1 timeout=$2 waited=0 id
    while ((waited < timeout * 2)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "Quillery exited before showing its window" >&2
            return 1
        fi
        id=$(quillery_find_window)
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.5
        waited=$((waited + 1))
    done
    echo "no Quillery window after ${timeout}s" >&2
    return 1
}

# Grabs window $1 into $2 once what it shows has stopped changing (two grabs
# a second apart differ in under 0.2% of their pixels; a blinking text
# cursor is allowed), waiting at most $3 seconds.
quillery_grab_settled() {
    local id=$1 out=$2 timeout=$3 previous
    previous=$(mktemp --suffix=.png)
    import -silent -window "$id" "$previous" || return 1
    local tries
    for ((tries = 0; tries < timeout; tries++)); do
        sleep 1
        import -silent -window "$id" "$out" || return 1
        local differing total
        differing=$(compare -metric AE -fuzz 2% "$previous" "$out" null: 2>&1 || true)
        total=$(identify -format '%[fx:w*h]' "$out")
        if [[ $differing =~ ^[0-9.e+]+$ ]] && awk -v d="$differing" -v t="$total" 'BEGIN { exit !(d < t * 0.002) }'; then
            rm -f "$previous"
            return 0
        fi
        cp "$out" "$previous"
    done
    rm -f "$previous"
    echo "the window kept changing for ${timeout}s; using the last picture" >&2
    return 0
}

# Sends SIGTERM to process $1 (a child of this shell) and waits up to $2
# seconds for it to end. Sets QUILLERY_EXIT_STATUS to its exit status;
# returns non-zero when it did not end in time (it is then killed).
quillery_stop() {
    local pid=$1 timeout=$2 waited=0
    QUILLERY_EXIT_STATUS=
    kill -TERM "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null && ((waited < timeout * 10)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "Quillery still running ${timeout}s after SIGTERM" >&2
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        return 1
    fi
    QUILLERY_EXIT_STATUS=0
    wait "$pid" || QUILLERY_EXIT_STATUS=$?
    return 0
}
