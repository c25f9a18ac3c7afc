// OlvaneMac's companion inside GNOME Shell: it tells OlvaneMac, and OlvaneMac alone, about every
// window, closes one when asked, says where the pointer is while a fog is shown, and draws the
// fog OlvaneMac works out over the window it covers. It keeps nothing once OlvaneMac's bus name
// is gone. Both flavours of extension.js (legacy imports for GNOME 43-44, ES modules from 45)
// wrap this one body; it is given the modules it uses.
function makeOlvaneCompanion({Gio, GLib, Meta, Shell, Clutter, St, Cogl, shellVersion}) {
    const NAME = 'so.olvane.mac';
    const PATH = '/so/olvane/mac/Companion';
    const IFACE = 'so.olvane.mac.Companion1';
    // OlvaneMac answers Requests within 15 s.
    const REQUESTS_TIMEOUT_MS = 30000;
    const CALL_TIMEOUT_MS = 5000;
    // Reports go at most once a frame; a slow safety poll catches a change no signal told.
    const REPORT_DELAY_MS = 16;
    const SAFETY_POLL_S = 10;
    const MAX_FOG_CELLS = 1 << 20;

    const TYPES = new Map([
        [Meta.WindowType.NORMAL, 'NORMAL'], [Meta.WindowType.DESKTOP, 'DESKTOP'],
        [Meta.WindowType.DOCK, 'DOCK'], [Meta.WindowType.DIALOG, 'DIALOG'],
        [Meta.WindowType.MODAL_DIALOG, 'DIALOG'], [Meta.WindowType.TOOLBAR, 'TOOLBAR'],
        [Meta.WindowType.MENU, 'MENU'], [Meta.WindowType.UTILITY, 'UTILITY'],
        [Meta.WindowType.SPLASHSCREEN, 'SPLASH'], [Meta.WindowType.DROPDOWN_MENU, 'DROPDOWN_MENU'],
        [Meta.WindowType.POPUP_MENU, 'POPUP_MENU'], [Meta.WindowType.TOOLTIP, 'TOOLTIP'],
        [Meta.WindowType.NOTIFICATION, 'NOTIFICATION'], [Meta.WindowType.COMBO, 'COMBO'],
        [Meta.WindowType.DND, 'DND'],
    ]);

    // An error in the companion is logged; it never reaches the Shell.
    function guard(what, fn) {
        return (...args) => {
            try {
                return fn(...args);
            } catch (e) {
                logError(e, `OlvaneMac: ${what}`);
                return undefined;
            }
        };
    }

    // The area of the window's own content, without a server frame or a client's shadow
    // (GNOME 43's client rect of a client-decorated window is its buffer, shadow included).
    function contentRect(w) {
        if (w.get_client_content_rect)
            return w.get_client_content_rect();
        const frame = w.get_frame_rect();
        return w.decorated ? w.frame_rect_to_client_rect(frame) : frame;
    }

    // GNOME 43 tells an Xwayland window's X11 id only in its description ("0x60000c").
    function x11Id(w) {
        if (w.get_client_type() !== Meta.WindowClientType.X11)
            return 0;
        if (Number.isSafeInteger(w.xwindow) && w.xwindow > 0)
            return w.xwindow;
        const hex = /^0x([0-9a-f]+)/i.exec(w.get_description() ?? '');
        const id = hex ? Number.parseInt(hex[1], 16) : 0;
        return Number.isSafeInteger(id) && id > 0 && id < 2 ** 32 ? id : 0;
    }

    const cursorTracker = () => Meta.CursorTracker.get_for_display
        ? Meta.CursorTracker.get_for_display(global.display)
        : global.backend.get_cursor_tracker();
    // Runs `fn` once before the next frame is drawn.
    const beforeNextFrame = fn => Meta.later_add
        ? Meta.later_add(Meta.LaterType.BEFORE_REDRAW, fn)
        : global.compositor.get_laters().add(Meta.LaterType.BEFORE_REDRAW, fn);

    class Fog {
        constructor(id, window) {
            this.id = id;
            this.window = window;
            this.columns = 0;
            this.rows = 0;
            this.pixels = new Uint8Array(0);
            this.words = new Uint32Array(0);
            this.content = null;
            this.area = new Clutter.Actor({reactive: false, clip_to_allocation: true});
            this.grid = new Clutter.Actor({reactive: false});
            this.grid.set_content_scaling_filters(Clutter.ScalingFilter.LINEAR,
                Clutter.ScalingFilter.LINEAR);
            this.grid.set_content_gravity(Clutter.ContentGravity.RESIZE_FILL);
            this.area.add_child(this.grid);
            this.alive = true;
            // The window's actor takes its children along when it goes.
            this.area.connect('destroy', () => {
                this.alive = false;
            });
            window.get_compositor_private().add_child(this.area);
            this.sizeWatch = window.connect('size-changed', guard('fog', () => this.place()));
            this.place();
        }

        // Actors inside the window's actor count from its buffer's corner, in its surface's
        // units: a Wayland window on a doubled screen laid out in device pixels enlarges them.
        // The fog keeps to the stage's pixels.
        place() {
            if (!this.alive)
                return;
            const buffer = this.window.get_buffer_rect();
            const content = contentRect(this.window);
            const transform = this.window.get_compositor_private()?.get_child_transform?.();
            const enlarged = transform ? transform.get_x_scale() : 1;
            const scale = Number.isFinite(enlarged) && enlarged > 0 ? enlarged : 1;
            this.area.set_scale(1 / scale, 1 / scale);
            this.area.set_position((content.x - buffer.x) / scale, (content.y - buffer.y) / scale);
            this.area.set_size(content.width, content.height);
        }

        update({cells, cell, rect, pixels}) {
            if (!this.alive || !Array.isArray(cells) || !Array.isArray(rect) ||
                typeof pixels !== 'string')
                return;
            const [columns, rows] = cells;
            if (!(Number.isInteger(columns) && Number.isInteger(rows) && columns > 0 && rows > 0 &&
                  columns * rows <= MAX_FOG_CELLS && Number.isFinite(cell) && cell > 0))
                return;
            const [left, top, width, height] = rect;
            if (!([left, top, width, height].every(Number.isInteger) && left >= 0 && top >= 0 &&
                  width > 0 && height > 0 && left + width <= columns && top + height <= rows))
                return;
            const alphas = GLib.base64_decode(pixels);
            if (alphas.length !== width * height)
                return;
            if (columns !== this.columns || rows !== this.rows) {
                this.columns = columns;
                this.rows = rows;
                this.pixels = new Uint8Array(columns * rows * 4);
                this.words = new Uint32Array(this.pixels.buffer);
                this.content = St.ImageContent.new_with_preferred_size(columns, rows);
                this.grid.set_content(this.content);
            }
            this.place();
            this.grid.set_size(columns * cell, rows * cell);
            // Premultiplied white: each channel its alpha.
            for (let row = 0; row < height; row++) {
                const from = row * width;
                const to = (top + row) * columns + left;
                for (let column = 0; column < width; column++)
                    this.words[to + column] = alphas[from + column] * 0x01010101;
            }
            this.upload();
        }

        upload() {
            const bytes = new GLib.Bytes(this.pixels);
            const format = Cogl.PixelFormat.RGBA_8888_PRE;
            const stride = this.columns * 4;
            if (global.stage.context) {
                const cogl = global.stage.context.get_backend().get_cogl_context();
                this.content.set_bytes(cogl, bytes, format, this.columns, this.rows, stride);
            } else {
                this.content.set_bytes(bytes, format, this.columns, this.rows, stride);
            }
        }

        destroy() {
            this.window.disconnect(this.sizeWatch);
            if (this.alive)
                this.area.destroy();
        }
    }

    let watch = 0;
    let owner = null;
    let cancellable = null;
    let signals = [];
    let windowSignals = new Map();
    let reportSource = 0;
    let safetySource = 0;
    let lastReport = '';
    let pointerWatch = 0;
    let pointerTold = false;
    let fogs = new Map();

    function call(method, text, replyType, timeout, done) {
        const parameters = text === null ? null : new GLib.Variant('(s)', [text]);
        Gio.DBus.session.call(owner, PATH, IFACE, method, parameters,
            replyType ? new GLib.VariantType(replyType) : null, Gio.DBusCallFlags.NONE, timeout,
            cancellable, guard(method, (connection, result) => {
                let reply = null;
                try {
                    reply = connection.call_finish(result);
                } catch (e) {
                    if (!e.matches(Gio.IOErrorEnum, Gio.IOErrorEnum.CANCELLED))
                        done?.(null, e);
                    return;
                }
                done?.(reply, null);
            }));
    }

    // The stage's pixels to one of the user's points on the window's monitor: its scale where
    // the stage is laid out in device pixels (GNOME's default), else 1.
    function pointScaleOf(w, inDevicePixels) {
        const monitor = w.get_monitor();
        return inDevicePixels && monitor >= 0 ? global.display.get_monitor_scale(monitor) : 1;
    }

    // A stage laid out in logical pixels draws them through scaled views.
    function stageInDevicePixels() {
        return !(global.stage.peek_stage_views?.() ?? []).some(view => view.get_scale() !== 1);
    }

    function describe(w, tracker, inDevicePixels) {
        const app = tracker.get_window_app(w);
        let desktop = app?.get_id() ?? '';
        const real = desktop !== '' && !desktop.startsWith('window:');
        desktop = real ? desktop.replace(/\.desktop$/, '') : '';
        const workspace = global.workspace_manager.get_active_workspace();
        return {
            id: String(w.get_id()),
            x11: x11Id(w),
            pid: Math.max(0, w.get_pid()),
            desktop,
            name: real ? app.get_name() ?? '' : '',
            gtk: w.get_gtk_application_id() ?? '',
            class: w.get_wm_class() ?? '',
            instance: w.get_wm_class_instance() ?? '',
            type: TYPES.get(w.get_window_type()) ?? 'NORMAL',
            above: w.is_above(),
            client: (r => [r.x, r.y, r.width, r.height])(contentRect(w)),
            frame: (r => [r.x, r.y, r.width, r.height])(w.get_frame_rect()),
            scale: pointScaleOf(w, inDevicePixels),
            shown: !w.minimized && w.showing_on_its_workspace() &&
                (w.is_on_all_workspaces() || w.located_on_workspace(workspace)),
        };
    }

    function listWindows() {
        const windows = global.get_window_actors().map(a => a.meta_window)
            .filter(w => w && !w.is_override_redirect() && TYPES.has(w.get_window_type()));
        return global.display.sort_windows_by_stacking(windows).reverse();
    }

    function report() {
        reportSource = 0;
        if (!owner)
            return GLib.SOURCE_REMOVE;
        const tracker = Shell.WindowTracker.get_default();
        const focus = global.display.focus_window;
        const inDevicePixels = stageInDevicePixels();
        const text = JSON.stringify({
            focus: focus ? String(focus.get_id()) : null,
            windows: listWindows().map(w => describe(w, tracker, inDevicePixels)),
        });
        if (text !== lastReport) {
            lastReport = text;
            call('Report', text, null, CALL_TIMEOUT_MS, null);
        }
        return GLib.SOURCE_REMOVE;
    }

    function reportSoon() {
        if (!reportSource)
            reportSource = GLib.timeout_add(GLib.PRIORITY_DEFAULT, REPORT_DELAY_MS,
                guard('report', report));
    }

    function followWindow(w) {
        if (windowSignals.has(w))
            return;
        const changed = guard('window', reportSoon);
        windowSignals.set(w, ['position-changed', 'size-changed', 'notify::minimized',
            'workspace-changed', 'notify::above', 'notify::wm-class', 'notify::gtk-application-id']
            .map(signal => w.connect(signal, changed)).concat(
            w.connect('unmanaged', guard('window', () => {
                forgetWindow(w);
                reportSoon();
            }))));
    }

    function forgetWindow(w) {
        for (const id of windowSignals.get(w) ?? [])
            w.disconnect(id);
        windowSignals.delete(w);
        for (const [id, fog] of fogs) {
            if (fog.window === w) {
                fog.destroy();
                fogs.delete(id);
            }
        }
    }

    function startReporting() {
        const changed = guard('display', reportSoon);
        const display = global.display;
        const workspaces = global.workspace_manager;
        const monitors = global.backend?.get_monitor_manager?.() ?? Meta.MonitorManager.get();
        signals = [
            [display, display.connect('notify::focus-window', changed)],
            [display, display.connect('restacked', changed)],
            [display, display.connect('window-created', guard('window', (d, w) => {
                followWindow(w);
                reportSoon();
            }))],
            [workspaces, workspaces.connect('active-workspace-changed', changed)],
            [monitors, monitors.connect('monitors-changed', changed)],
        ];
        for (const w of global.display.list_all_windows())
            followWindow(w);
        safetySource = GLib.timeout_add_seconds(GLib.PRIORITY_LOW, SAFETY_POLL_S,
            guard('poll', () => {
                reportSoon();
                return GLib.SOURCE_CONTINUE;
            }));
        lastReport = '';
        reportSoon();
        askRequests();
    }

    function windowWithId(id) {
        return typeof id === 'string'
            ? global.display.list_all_windows().find(w => String(w.get_id()) === id) : undefined;
    }

    // Told once a frame at most.
    function pointerMoved() {
        if (pointerTold)
            return;
        pointerTold = true;
        beforeNextFrame(guard('pointer', () => {
            pointerTold = false;
            const [x, y] = global.get_pointer();
            if (owner && pointerWatch)
                call('Pointer', JSON.stringify([x, y]), null, CALL_TIMEOUT_MS, null);
            return GLib.SOURCE_REMOVE;
        }));
    }

    function followPointer(on) {
        const tracker = cursorTracker();
        if (on && !pointerWatch) {
            pointerWatch = tracker.connect('position-invalidated', guard('pointer', pointerMoved));
            pointerMoved();
        } else if (!on && pointerWatch) {
            tracker.disconnect(pointerWatch);
            pointerWatch = 0;
        }
    }

    function carryOut(request) {
        if (request === null || typeof request !== 'object')
            return;
        if ('close' in request) {
            windowWithId(request.close)?.delete(global.get_current_time());
        } else if ('pointer' in request) {
            followPointer(request.pointer === true);
        } else if ('fog' in request) {
            const fog = request.fog;
            if (!Number.isInteger(fog?.id))
                return;
            let shown = fogs.get(fog.id);
            if (!shown) {
                const window = windowWithId(fog.window);
                if (!window?.get_compositor_private())
                    return;
                shown = new Fog(fog.id, window);
                fogs.set(fog.id, shown);
            }
            shown.update(fog);
        } else if ('unfog' in request) {
            fogs.get(request.unfog)?.destroy();
            fogs.delete(request.unfog);
        }
    }

    function askRequests() {
        call('Requests', null, '(s)', REQUESTS_TIMEOUT_MS, (reply, error) => {
            if (!owner)
                return;
            if (error) {
                // OlvaneMac busy or gone: its name's departure ends everything.
                GLib.timeout_add_seconds(GLib.PRIORITY_DEFAULT, 1, guard('requests', () => {
                    if (owner)
                        askRequests();
                    return GLib.SOURCE_REMOVE;
                }));
                return;
            }
            const [text] = reply.deepUnpack();
            let requests = [];
            try {
                requests = JSON.parse(text);
            } catch (e) {
                logError(e, 'OlvaneMac: requests');
            }
            if (Array.isArray(requests))
                requests.forEach(guard('request', carryOut));
            askRequests();
        });
    }

    function attach(ownerName) {
        owner = ownerName;
        cancellable = new Gio.Cancellable();
        const about = JSON.stringify({compositor: 'gnome-shell', version: shellVersion, protocol: 1});
        call('Attach', about, '(s)', CALL_TIMEOUT_MS, (reply, error) => {
            if (error) {
                log(`OlvaneMac: not attached (${error.message})`);
                return;
            }
            startReporting();
        });
    }

    // Everything OlvaneMac was given or asked for goes with it.
    function detach() {
        cancellable?.cancel();
        cancellable = null;
        owner = null;
        for (const [object, id] of signals)
            object.disconnect(id);
        signals = [];
        for (const w of [...windowSignals.keys()])
            forgetWindow(w);
        for (const fog of fogs.values())
            fog.destroy();
        fogs.clear();
        followPointer(false);
        for (const source of [reportSource, safetySource]) {
            if (source)
                GLib.source_remove(source);
        }
        reportSource = safetySource = 0;
        lastReport = '';
    }

    return {
        enable() {
            watch = Gio.bus_watch_name(Gio.BusType.SESSION, NAME, Gio.BusNameWatcherFlags.NONE,
                guard('name', (connection, name, ownerName) => {
                    detach();
                    attach(ownerName);
                }),
                guard('name', () => detach()));
        },
        disable() {
            // Not cancelled with the rest: OlvaneMac learns the companion stopped.
            if (owner) {
                Gio.DBus.session.call(owner, PATH, IFACE, 'Detach', null, null,
                    Gio.DBusCallFlags.NO_AUTO_START, CALL_TIMEOUT_MS, null, null);
            }
            detach();
            if (watch)
                Gio.bus_unwatch_name(watch);
            watch = 0;
        },
    };
}
