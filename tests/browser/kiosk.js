// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests and the touch soak share: a kiosk system made by
// zel-make for one screen size, a local HTTP server for it, Chromium with its
// default settings (no file access between frames), real touches, and the
// visitor's view of the page shown.
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');

const sourceDir = path.resolve(__dirname, '..', '..');
const chromiumPath = process.env.ZEL_CHROMIUM || '/usr/bin/chromium';

// Installs playwright-core and axe-core from the committed lock file into
// nodeDir (once) and returns playwright-core.
function playwright(nodeDir) {
    const module = path.join(nodeDir, 'node_modules', 'playwright-core');
    if (!fs.existsSync(module) || !fs.existsSync(axePath(nodeDir))) {
        fs.mkdirSync(nodeDir, { recursive: true });
        for (const file of ['package.json', 'package-lock.json'])
            fs.copyFileSync(path.join(__dirname, file), path.join(nodeDir, file));
        const run = spawnSync('npm', ['ci', '--no-audit', '--no-fund', '--ignore-scripts'],
                              { cwd: nodeDir, encoding: 'utf8' });
        if (run.status !== 0)
            throw new Error('npm ci failed: ' + run.stderr);
    }
    return require(module);
}

const axePath = (nodeDir) => path.join(nodeDir, 'node_modules', 'axe-core', 'axe.min.js');

function copyFolder(from, to) {
    fs.mkdirSync(to, { recursive: true });
    for (const entry of fs.readdirSync(from, { withFileTypes: true })) {
        if (entry.name === 'CMakeLists.txt')
            continue;
        const source = path.join(from, entry.name), target = path.join(to, entry.name);
        if (entry.isDirectory())
            copyFolder(source, target);
        else
            fs.copyFileSync(source, target);
    }
}

// The sample kiosk system with the display tests' and these tests' hard pages
// (or only the page folders of the given folders), made for a screen of the
// given size, with the further configuration lines given. Returns its folder, what zel-make said, and the main file of
// every page ("news/today.htm"), sorted.
function makeKiosk(buildDir, size, workDir, folders, settings) {
    const dir = fs.mkdtempSync(path.join(workDir || os.tmpdir(), `kiosk-${size.width}x${size.height}-`));
    // ZEL_TEMPLATE names another Template folder to try the pages with (an older one, say).
    copyFolder(process.env.ZEL_TEMPLATE || path.join(sourceDir, 'template'), dir);
    for (const folder of folders || [path.join(sourceDir, 'examples', 'sample'),
                                     path.join(sourceDir, 'tests', 'display', 'pages'), path.join(__dirname, 'pages')])
        copyFolder(folder, dir);
    const configuration = path.join(dir, 'configuration.txt');
    fs.appendFileSync(configuration, [`screenwidth ${size.width}`, `screenheight ${size.height}`]
        .concat(settings || []).map((line) => line + '\r\n').join(''));
    const run = spawnSync(path.join(buildDir, 'bin', 'zel-make'), [dir], { encoding: 'utf8', timeout: 120000 });
    if (run.status === null || run.status > 1)
        throw new Error(`zel-make failed (${run.status}): ${run.stderr}`);
    const pages = [];
    for (const folder of fs.readdirSync(dir, { withFileTypes: true }))
        if (folder.isDirectory())
            for (const file of fs.readdirSync(path.join(dir, folder.name)))
                if (file.endsWith('.zel'))
                    pages.push(`${folder.name}/${file.replace(/\.zel$/, '.htm')}`);
    pages.sort();
    return { dir, messages: run.stderr, out: run.stdout, pages };
}

const types = { '.htm': 'text/html', '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript',
                '.jpg': 'image/jpeg', '.jpeg': 'image/jpeg', '.png': 'image/png' };

// A plain static server for the folder; a missing file is 404.
function serve(root) {
    return new Promise((resolve) => {
        const server = http.createServer((request, response) => {
            let file;
            try {
                file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
            } catch (e) {
                response.writeHead(400);
                return response.end();
            }
            if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
                response.writeHead(404, { 'Content-Type': 'text/plain' });
                return response.end('not found');
            }
            const type = types[path.extname(file).toLowerCase()] || 'application/octet-stream';
            response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-cache' });
            response.end(request.method === 'HEAD' ? undefined : fs.readFileSync(file));
        });
        server.listen(0, '127.0.0.1', () => resolve({
            base: `http://127.0.0.1:${server.address().port}/`,
            close: () => new Promise((done) => server.close(done)),
        }));
    });
}

// Chromium as a visitor's browser has it: no file access between frames;
// only what running it unattended needs. The back-forward cache stays off as
// the driver keeps it: the driver loses sight of the frames of a page restored
// from it (the page itself is whole again).
async function launch(pw) {
    return pw.chromium.launch({
        executablePath: chromiumPath,
        headless: true,
        args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync'],
        ignoreDefaultArgs: ['--disable-popup-blocking', '--enable-automation'],
    });
}

// A touch-screen browser window of the size. idleSeconds replaces the kiosk
// script's idle time in every window (the made pages stay as they are).
// timezoneId: the kiosk's time zone ("Europe/Berlin"), else the machine's.
async function openWindow(browser, size, idleSeconds, timezoneId) {
    const context = await browser.newContext({ viewport: size, hasTouch: true, deviceScaleFactor: 1,
                                               ...(timezoneId ? { timezoneId } : {}) });
    if (idleSeconds)
        await context.addInitScript((seconds) => {
            Object.defineProperty(window, 'idleSecondsBeforeHome', { get: () => seconds, set: () => {} });
        }, idleSeconds);
    const page = await context.newPage();
    const log = { errors: [], loadFailures: [] };
    page.on('pageerror', (error) => log.errors.push(`${page.url()}: ${error.message}`));
    page.on('console', (message) => {
        if (message.type() !== 'error')
            return;
        const text = message.text();
        // A missing picture or a probe of a page that does not exist: the browser's own report.
        if (/^Failed to load resource|ERR_FILE_NOT_FOUND|status of 404/.test(text))
            log.loadFailures.push(text);
        else
            log.errors.push(`${page.url()}: console: ${text}`);
    });
    const session = await context.newCDPSession(page);
    return { context, page, session, log };
}

// The frame of the page shown whose window has the name.
const frameNamed = (page, name) =>
    page.frames().find((f) => f.parentFrame() === page.mainFrame() && f.name() === name) || null;

// What a visitor finds on the page shown: its address, whether it is a kiosk
// page with both frames prepared by the script, and its buttons (id, href,
// caption, centre in the window, disabled).
async function pageState(page) {
    const url = page.url();
    const state = { url, kiosk: false, buttons: [] };
    const con = frameNamed(page, 'con'), nav = frameNamed(page, 'nav');
    if (!con || !nav)
        return state;
    try {
        const ready = await Promise.all([con, nav].map((f) => f.evaluate(
            () => document.readyState === 'complete' && document.documentElement.getAttribute('data-kiosk-ready') === '1')));
        if (!ready[0] || !ready[1])
            return state;
        const navBox = await (await nav.frameElement()).boundingBox();
        state.buttons = await nav.evaluate((offset) => Array.from(document.querySelectorAll('a.nav')).map((a) => {
            const r = a.getBoundingClientRect();
            return { id: a.id, href: a.getAttribute('href'), text: a.textContent.trim(), resolved: a.href,
                     x: offset.x + r.left + r.width / 2, y: offset.y + r.top + r.height / 2,
                     disabled: a.classList.contains('disabled') };
        }), navBox);
        state.kiosk = true;
    } catch (e) {
        state.error = String(e);
    }
    return state;
}

// Opens the address as a visitor's first page; a navigation still under way
// from an earlier touch may interrupt the first try.
async function open(page, address) {
    for (let attempt = 0;; ++attempt) {
        try {
            await page.goto(address);
            return;
        } catch (e) {
            if (attempt >= 2)
                throw e;
            await new Promise((r) => setTimeout(r, 200));
        }
    }
}

// Waits until the condition (an async function) is true; false after the time.
async function waitFor(condition, timeoutMs = 20000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
        try {
            if (await condition())
                return true;
        } catch (e) {
        }
        if (Date.now() > end)
            return false;
        await new Promise((r) => setTimeout(r, 15));
    }
}

// Waits until the page shown is a prepared kiosk page (at the address when given).
async function waitForKiosk(page, address, timeoutMs) {
    let last = null;
    const ok = await waitFor(async () => {
        last = await pageState(page);
        return last.kiosk && (!address || sameAddress(last.url, address));
    }, timeoutMs);
    return ok ? last : null;
}

// Whether two addresses name the same file (a backslash in one is a slash).
function sameAddress(a, b) {
    const clean = (u) => {
        try {
            return decodeURIComponent(new URL(u).pathname).replace(/\\/g, '/');
        } catch (e) {
            return Symbol(u); // equal to nothing
        }
    };
    return clean(a) === clean(b);
}

// A real touch at a point of the window (touchstart, touchend and the click
// the browser makes of them).
const tap = (page, x, y) => page.touchscreen.tap(Math.round(x), Math.round(y));

// A finger swipe by dy pixels (negative: the content moves up).
async function swipe(session, x, y, dy, steps = 8) {
    const point = (py) => [{ x: Math.round(x), y: Math.round(py), id: 1 }];
    await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: point(y) });
    for (let i = 1; i <= steps; ++i)
        await session.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: point(y + (dy * i) / steps) });
    await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
}

// The share of pure white pixels in a PNG of 8-bit RGB or RGBA pixels, not
// interlaced, as the browser's screencast gives its frames.
function whiteShare(png) {
    let pos = 8, width = 0, height = 0, bpp = 4;
    const data = [];
    while (pos + 8 <= png.length) {
        const length = png.readUInt32BE(pos), type = png.toString('latin1', pos + 4, pos + 8);
        const chunk = png.subarray(pos + 8, pos + 8 + length);
        if (type === 'IHDR') {
            width = chunk.readUInt32BE(0);
            height = chunk.readUInt32BE(4);
            bpp = chunk[9] === 6 ? 4 : 3;
        } else if (type === 'IDAT') {
            data.push(chunk);
        }
        pos += 12 + length;
    }
    const raw = require('zlib').inflateSync(Buffer.concat(data));
    const stride = width * bpp;
    let previous = Buffer.alloc(stride), white = 0;
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
        for (let i = 0; i < stride; ++i) {
            const a = i >= bpp ? line[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
            const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const add = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter] || 0;
            line[i] = (line[i] + add) & 255;
        }
        for (let x = 0; x < stride; x += bpp)
            if (line[x] === 255 && line[x + 1] === 255 && line[x + 2] === 255)
                ++white;
        previous = line;
    }
    return width * height ? white / (width * height) : 0;
}

// The frames the browser draws while `during` runs, small: each one's time
// (ms since the epoch) and its share of white.
async function drawnFrames(session, during) {
    const frames = [];
    const onFrame = (frame) => {
        frames.push({ time: frame.metadata.timestamp * 1000, white: whiteShare(Buffer.from(frame.data, 'base64')) });
        session.send('Page.screencastFrameAck', { sessionId: frame.sessionId }).catch(() => {});
    };
    session.on('Page.screencastFrame', onFrame);
    await session.send('Page.startScreencast', { format: 'png', maxWidth: 200, maxHeight: 200, everyNthFrame: 1 });
    try {
        await during();
    } finally {
        await session.send('Page.stopScreencast');
        session.off('Page.screencastFrame', onFrame);
    }
    return frames;
}

const chromiumMissing = () => !fs.existsSync(chromiumPath);

module.exports = { playwright, axePath, makeKiosk, serve, launch, openWindow, open, frameNamed, waitFor, waitForKiosk, tap, swipe,
                   drawnFrames, chromiumMissing };
