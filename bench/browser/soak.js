// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kiosk soak: TOUCHES random real touches per screen size on the sample
// kiosk system with the hard pages beside it (buttons, content, swipes, double
// touches), from a fixed seed. After each touch the window must show a
// prepared kiosk page with a button within a few seconds; a window that does
// not is a stranded state (the soak opens the root page again and goes on).
// Prints one table row per size: touches, script errors, stranded states,
// windows used (a window that cannot even open the root page again is given
// up for a new one), the JavaScript heap at the start and the end, and its
// growth per 1,000 touches.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const kiosk = require('../../tests/browser/kiosk');

const sizes = (process.env.ZEL_SIZES ? JSON.parse(process.env.ZEL_SIZES)
                                     : [[800, 600], [1024, 768], [1280, 1024], [1920, 1080], [1080, 1920], [3840, 2160]])
    .map(([width, height]) => ({ width, height }));

// A small fixed-seed generator, so that two runs touch alike.
function random(seed) {
    let state = seed >>> 0;
    return () => {
        state = (state * 1664525 + 1013904223) >>> 0;
        return state / 4294967296;
    };
}

// The touch, or "hung" when the browser does not answer it in time.
function inTime(promise, ms) {
    return Promise.race([promise.then(() => 'done'), new Promise((r) => setTimeout(() => r('hung'), ms))]);
}

async function heap(session) {
    await session.send('HeapProfiler.collectGarbage');
    const usage = await session.send('Runtime.getHeapUsage');
    return usage.usedSize / 1048576;
}

async function soak(browser, k, size, touches, base, seed) {
    let win = await kiosk.openWindow(browser, size);
    const errors = [];
    const next = random(seed);
    const home = base + 'root/root.htm';
    let stranded = 0, touched = 0, windows = 1, hung = 0;
    const strandedAt = [];
    await kiosk.open(win.page, home);
    await kiosk.waitForKiosk(win.page, home);
    await win.session.send('HeapProfiler.enable');
    const startHeap = await heap(win.session);
    for (let i = 0; i < touches; ++i) {
        const { page, session } = win;
        let state = await kiosk.waitForKiosk(page, null, 4000);
        // A replacement window the loaded machine has not yet brought to the
        // root page shows nothing of the kiosk: wait for it, it strands no one.
        if (!state && page.url() === 'about:blank') {
            await kiosk.open(page, home).catch(() => {});
            state = await kiosk.waitForKiosk(page, home, 30000);
        }
        if (!state || !state.buttons.some((b) => b.text)) {
            ++stranded;
            strandedAt.push(page.url());
            if (process.env.ZEL_TRACE)
                console.log(`    stranded at ${page.url()}`);
            // A window that does not come back to the root page is given up for a new one.
            let back = false;
            try {
                await page.goto(home, { timeout: 8000 });
                back = !!(await kiosk.waitForKiosk(page, home, 4000));
            } catch (e) {
            }
            if (!back) {
                errors.push(...win.log.errors);
                await win.context.close().catch(() => {});
                win = await kiosk.openWindow(browser, size);
                ++windows;
                await kiosk.open(win.page, home);
                await kiosk.waitForKiosk(win.page, home);
                await win.session.send('HeapProfiler.enable');
            }
            continue;
        }
        const kind = next();
        const buttons = state.buttons.filter((b) => b.text);
        const touch = (async () => {
            if (kind < 0.6) {
                const b = buttons[Math.floor(next() * buttons.length)];
                await kiosk.tap(page, b.x, b.y);
            } else if (kind < 0.8) {
                await kiosk.tap(page, next() * size.width * 0.7, next() * size.height);
            } else if (kind < 0.9) {
                await kiosk.swipe(session, size.width * 0.35, size.height * (0.3 + next() * 0.4),
                                  (next() - 0.5) * size.height * 0.8);
            } else {
                const b = buttons[Math.floor(next() * buttons.length)];
                await kiosk.tap(page, b.x, b.y);
                await kiosk.tap(page, b.x, b.y);
            }
        })().catch(() => {
            // A touch on a window that is leaving its page: the next round looks at the result.
        });
        if ((await inTime(touch, 8000)) === 'hung') {
            // The browser never acknowledged the touch: counted, and the window replaced.
            ++hung;
            errors.push(...win.log.errors);
            await win.context.close().catch(() => {});
            win = await kiosk.openWindow(browser, size);
            ++windows;
            await kiosk.open(win.page, home);
            await kiosk.waitForKiosk(win.page, home);
            await win.session.send('HeapProfiler.enable');
        }
        ++touched;
        if (process.env.ZEL_TRACE && (touched % 25 === 0 || process.env.ZEL_TRACE === 'all'))
            console.log(`    ${size.width}x${size.height}: ${touched} touches, ${stranded} stranded, ${page.url()}`);
    }
    const endHeap = await heap(win.session);
    errors.push(...win.log.errors);
    await win.context.close();
    return { touched, errors, stranded, strandedAt, startHeap, endHeap, windows, hung };
}

async function main() {
    const buildDir = path.resolve(process.argv[2] || 'build');
    const touches = Number(process.argv[3] || 2000);
    const mode = process.argv[4] || 'file';
    if (kiosk.chromiumMissing()) {
        console.log('Chromium (/usr/bin/chromium) is not installed; scripts/setup installs it');
        process.exit(1);
    }
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zel-soak-'));
    const pw = kiosk.playwright(path.join(buildDir, 'browser-node'));
    const browser = await kiosk.launch(pw);
    console.log(`| size | way | touches | script errors | stranded | touches unanswered | windows | heap start MB | heap end MB | growth MB per 1,000 |`);
    console.log(`|---|---|---|---|---|---|---|---|---|---|`);
    let faults = 0;
    try {
        for (let s = 0; s < sizes.length; ++s) {
            const size = sizes[s];
            const k = kiosk.makeKiosk(buildDir, size, work);
            const server = await kiosk.serve(k.dir);
            const base = mode === 'http' ? server.base : 'file://' + k.dir + '/';
            const r = await soak(browser, k, size, touches, base, 24 + s);
            await server.close();
            faults += r.errors.length + r.stranded;
            const growth = ((r.endHeap - r.startHeap) * 1000) / Math.max(1, r.touched);
            console.log(`| ${size.width}x${size.height} | ${mode} | ${r.touched} | ${r.errors.length} | ${r.stranded} | ${r.hung} | ${r.windows} | `
                        + `${r.startHeap.toFixed(2)} | ${r.endHeap.toFixed(2)} | ${growth.toFixed(3)} |`);
            for (const e of r.errors.slice(0, 3))
                console.log(`    error: ${e}`);
            for (const u of [...new Set(r.strandedAt)].slice(0, 3))
                console.log(`    stranded on: ${u}`);
        }
    } finally {
        await browser.close();
        fs.rmSync(work, { recursive: true, force: true });
    }
    process.exit(faults ? 1 : 0);
}

main().catch((e) => {
    console.log(String(e.stack || e));
    process.exit(2);
});
