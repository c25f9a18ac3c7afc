// Preloaded into a Qt program under X11, it says "Premier cadre envoyé" on the standard error when
// the program first sends pixels to a window: the first painted frame, seen the same way for
// OlvaneMac and for its floor, without a line of theirs.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <unistd.h>
#include <xcb/xcb.h>

// Qt's platform plugin loads these libraries in its own scope, after this one: RTLD_NEXT would
// not see them.
static void* original(const char* library, const char* name) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    return handle ? dlsym(handle, name) : NULL;
}

static void tellFirstFrame(void) {
    static int told;
    if (!told) {
        told = 1;
        static const char line[] = "Premier cadre envoyé\n";
        (void)!write(2, line, sizeof line - 1);
    }
}

typedef uint32_t xcb_shm_seg_t;
typedef xcb_void_cookie_t (*ShmPutImage)(xcb_connection_t*, xcb_drawable_t, xcb_gcontext_t,
                                         uint16_t, uint16_t, uint16_t, uint16_t, uint16_t,
                                         uint16_t, int16_t, int16_t, uint8_t, uint8_t, uint8_t,
                                         xcb_shm_seg_t, uint32_t);
typedef xcb_void_cookie_t (*CopyArea)(xcb_connection_t*, xcb_drawable_t, xcb_drawable_t,
                                      xcb_gcontext_t, int16_t, int16_t, int16_t, int16_t,
                                      uint16_t, uint16_t);

// With shared memory, Qt's backing store puts its image straight into the window.
xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t* c, xcb_drawable_t drawable,
                                    xcb_gcontext_t gc, uint16_t total_width,
                                    uint16_t total_height, uint16_t src_x, uint16_t src_y,
                                    uint16_t src_width, uint16_t src_height, int16_t dst_x,
                                    int16_t dst_y, uint8_t depth, uint8_t format,
                                    uint8_t send_event, xcb_shm_seg_t shmseg, uint32_t offset) {
    static ShmPutImage next;
    if (!next) {
        next = (ShmPutImage)original("libxcb-shm.so.0", "xcb_shm_put_image");
    }
    tellFirstFrame();
    return next(c, drawable, gc, total_width, total_height, src_x, src_y, src_width, src_height,
                dst_x, dst_y, depth, format, send_event, shmseg, offset);
}

// Without it, the image goes to a pixmap first and is copied to the window from there.
xcb_void_cookie_t xcb_copy_area(xcb_connection_t* c, xcb_drawable_t src, xcb_drawable_t dst,
                                xcb_gcontext_t gc, int16_t src_x, int16_t src_y, int16_t dst_x,
                                int16_t dst_y, uint16_t width, uint16_t height) {
    static CopyArea next;
    if (!next) {
        next = (CopyArea)original("libxcb.so.1", "xcb_copy_area");
    }
    tellFirstFrame();
    return next(c, src, dst, gc, src_x, src_y, dst_x, dst_y, width, height);
}
