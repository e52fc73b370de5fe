// Starts a program and reports how long after its exec the first top-level
// window of at least 200 × 200 pixels was mapped on the X display, as
// "<pid> <seconds>". The program is left running for the caller to measure
// and stop. With --close-after S the window is then asked to close (as a
// window manager's close button does) S seconds after it was mapped. Used by
// bench/start-footprint.sh.
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double seconds_since(const struct timespec *start)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - start->tv_sec) + (double)(now.tv_nsec - start->tv_nsec) / 1e9;
}

static xcb_atom_t atom(xcb_connection_t *x, const char *name)
{
    xcb_intern_atom_reply_t *reply
        = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, (uint16_t)strlen(name), name), NULL);
    const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return result;
}

// Sends WM_DELETE_WINDOW, which the program answers by closing the window.
static void ask_to_close(xcb_connection_t *x, xcb_window_t window)
{
    xcb_client_message_event_t message;
    memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(x, "WM_PROTOCOLS");
    message.data.data32[0] = atom(x, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, (const char *)&message);
    xcb_flush(x);
}

// Asks until the window is unmapped: a request that arrives while the
// program is still busy starting may be dropped. Gives up after 10 s.
static void close_window(xcb_connection_t *x, xcb_window_t window)
{
    struct pollfd fd = { xcb_get_file_descriptor(x), POLLIN, 0 };
    for (int attempt = 0; attempt < 10; ++attempt) {
        ask_to_close(x, window);
        struct timespec asked;
        clock_gettime(CLOCK_MONOTONIC, &asked);
        while (seconds_since(&asked) < 1) {
            xcb_generic_event_t *event;
            while ((event = xcb_poll_for_event(x))) {
                const int type = event->response_type & 0x7f;
                const int gone = (type == XCB_UNMAP_NOTIFY && ((xcb_unmap_notify_event_t *)event)->window == window)
                    || (type == XCB_DESTROY_NOTIFY && ((xcb_destroy_notify_event_t *)event)->window == window);
                free(event);
                if (gone)
                    return;
            }
            if (xcb_connection_has_error(x))
                return;
            poll(&fd, 1, 100);
        }
    }
    fprintf(stderr, "map-probe: the window did not close\n");
}

int main(int argc, char **argv)
{
    int close_after = -1;
    if (argc > 2 && strcmp(argv[1], "--close-after") == 0) {
        close_after = atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc < 2) {
        fprintf(stderr, "usage: %s [--close-after seconds] program [arguments]\n", argv[0]);
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
                xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), NULL);
                const int large = geometry && geometry->width >= 200 && geometry->height >= 200;
                free(geometry);
                if (large) {
                    printf("%d %.4f\n", (int)pid, elapsed);
                    fflush(stdout);
                    free(event);
                    if (close_after >= 0) {
                        sleep((unsigned)close_after);
                        close_window(x, window);
                    }
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
