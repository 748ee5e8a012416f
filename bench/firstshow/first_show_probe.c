// Starts a program and prints, in milliseconds of wall time, how long it takes until its first
// top-level window is mapped on the X display, then ends the program. Without a window manager
// (Xvfb) every top-level window is a child of the root window, so the root's MapNotify events
// show it. Usage: first_show_probe TIMEOUT_MS PROGRAM [ARGS...]; exit 1 on timeout.
#define _DEFAULT_SOURCE
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void endChild(pid_t child)
{
    kill(child, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(child, NULL, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const double timeoutMs = atof(argv[1]);
    xcb_connection_t *connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "first_show_probe: no X display\n");
        return 2;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t *error = xcb_request_check(connection, cookie);
    if (error) {
        fprintf(stderr, "first_show_probe: cannot watch the root window\n");
        free(error);
        return 2;
    }

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        perror(argv[2]);
        _exit(127);
    }

    struct pollfd watch = {xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(connection)) != NULL) {
            const int type = event->response_type & 0x7f;
            free(event);
            if (type == XCB_MAP_NOTIFY) {
                printf("%.2f\n", nowMs() - start);
                endChild(child);
                xcb_disconnect(connection);
                return 0;
            }
        }
        const double left = timeoutMs - (nowMs() - start);
        if (left <= 0 || xcb_connection_has_error(connection))
            break;
        if (waitpid(child, NULL, WNOHANG) == child) {
            fprintf(stderr, "first_show_probe: %s ended without a window\n", argv[2]);
            xcb_disconnect(connection);
            return 1;
        }
        poll(&watch, 1, left < 20 ? (int)left + 1 : 20);
    }
    fprintf(stderr, "first_show_probe: no window within %s ms\n", argv[1]);
    endChild(child);
    xcb_disconnect(connection);
    return 1;
}
