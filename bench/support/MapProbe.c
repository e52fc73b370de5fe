// Starts a program and reports how long after its exec the first top-level
// window of at least 200 × 200 pixels was mapped on the X display, as
// "<pid> <seconds>". The program is left running for the caller to measure
// and stop. Used by bench/start-footprint.sh.
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double seconds_since(const struct timespec *start)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - start->tv_sec) + (double)(now.tv_nsec - start->tv_nsec) / 1e9;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s program [arguments]\n", argv[0]);
        return 2;
    }
    xcb_connection_t *x = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(x)) {
        fprintf(stderr, "map-probe: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // Without a window manager, top-level windows are the root's children:
    // their mapping is reported to whoever listens on the root.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));

    struct timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        perror("map-probe: exec");
        _exit(127);
    }
    struct pollfd fd = { xcb_get_file_descriptor(x), POLLIN, 0 };
    while (seconds_since(&start) < 30) {
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(x))) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const double elapsed = seconds_since(&start);
                const xcb_window_t window = ((xcb_map_notify_event_t *)event)->window;
                xcb_get_geometry_reply_t *geometry
                    = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), NULL);
                const int large = geometry && geometry->width >= 200 && geometry->height >= 200;
                free(geometry);
                if (large) {
                    printf("%d %.4f\n", (int)pid, elapsed);
                    free(event);
                    xcb_disconnect(x);
                    return 0;
                }
            }
            free(event);
        }
        if (xcb_connection_has_error(x))
            break;
        poll(&fd, 1, 100);
    }
    fprintf(stderr, "map-probe: no window within 30 s\n");
    printf("%d -\n", (int)pid);
    xcb_disconnect(x);
    return 1;
}
