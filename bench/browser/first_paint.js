// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a visitor sees when a page opens, in Chromium at 1280 x 1024 with the
// CPU at full speed and slowed 4 times (as on a slow kiosk computer): how long
// the 40-item selector takes until it is fitted and drawn (from the start of
// the navigation to the second animation frame after the script marked the
// later of its two frames ready: a visitor sees the page once both are), and how long the window shows white on the way (frames of the
// browser's screencast more than 90 % white), and the renderer's main-thread
// CPU time on the way (from a trace: the figure a machine busy with something
// else changes least). Prints the median and the worst
// of RUNS openings; with ZEL_BASELINE_TEMPLATE (another Template folder, such
// as an older one) or ZEL_BASELINE_BUILD (another build folder, whose zel-make
// makes the pages) the same for it, in the same browser, the two taking turns.
//
// Usage: node bench/browser/first_paint.js [BUILD_DIR] [RUNS]
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const kiosk = require('../../tests/browser/kiosk');

const buildDir = path.resolve(process.argv[2] || 'build');
const runs = Number(process.argv[3] || 9);
const size = { width: 1280, height: 1024 };

const fileUrl = (file) => 'file://' + file.split(path.sep).map(encodeURIComponent).join('/');

// In each frame, which the times and the trace wait for: the moment (ms
// since the epoch) it is ready and drawn.
function markReady() {
    if (window.name !== 'con' && window.name !== 'nav')
        return;
    const mark = () => requestAnimationFrame(() => requestAnimationFrame(() => {
        window.zelReadyAt = performance.timeOrigin + performance.now();
        performance.mark('zelReady');
    }));
    new MutationObserver((changes, observer) => {
        if (document.documentElement && document.documentElement.getAttribute('data-kiosk-ready') === '1') {
            observer.disconnect();
            mark();
        }
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-kiosk-ready'] });
}

const median = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
};

// Opens the page as the kiosk's script does (from the page shown) and
// returns the time from the navigation's start until both its frames are
// ready and drawn.
async function openPage(page, url) {
    await page.evaluate((to) => { window.location.href = to; }, url);
    let readyAt = 0;
    await kiosk.waitFor(async () => {
        const frames = [kiosk.frameNamed(page, 'con'), kiosk.frameNamed(page, 'nav')];
        if (!frames[0] || !frames[1] || !page.url().endsWith(url.slice(url.lastIndexOf('/'))))
            return false;
        const times = await Promise.all(frames.map((frame) => frame.evaluate(() => window.zelReadyAt || 0)));
        readyAt = Math.max(...times);
        return Math.min(...times) > 0;
    }, 30000);
    const start = await page.evaluate(() => performance.timeOrigin);
    return { start, readyAt, ms: readyAt - start };
}

// One kiosk system made with the Template given ('' the source tree's) by
// the build's zel-make.
function makeWith(template, build, work) {
    if (template)
        process.env.ZEL_TEMPLATE = template;
    else
        delete process.env.ZEL_TEMPLATE;
    return kiosk.makeKiosk(build, size, work);
}

// Milliseconds of thread time the renderers' main threads spent in the
// tasks of a trace until both frames were ready and drawn.
function mainThreadMs(file) {
    const trace = JSON.parse(fs.readFileSync(file, 'utf8'));
    const events = trace.traceEvents || trace, main = new Set();
    let readyAt = -Infinity;
    for (const e of events) {
        if (e.ph === 'M' && e.name === 'thread_name' && e.args.name === 'CrRendererMain')
            main.add(`${e.pid}:${e.tid}`);
        if (e.name === 'zelReady')
            readyAt = Math.max(readyAt, e.ts);
    }
    let us = 0;
    for (const e of events)
        if (e.ph === 'X' && e.name === 'ThreadControllerImpl::RunTask' && main.has(`${e.pid}:${e.tid}`)
            && e.ts <= readyAt)
            us += e.tdur || 0;
    return us / 1000;
}

// One opening of the selector from the root page: its time to ready;
// with the screencast on (which slows the page), the time white is shown;
// traced, the main thread's CPU time.
async function openOnce(win, k, mode, work) {
    const root = fileUrl(k.dir) + '/root/root.htm', selector = fileUrl(k.dir) + '/shops/long.htm';
    await kiosk.open(win.page, root);
    await kiosk.waitForKiosk(win.page, root);
    if (mode === 'ready')
        return (await openPage(win.page, selector)).ms;
    if (mode === 'cpu') {
        const file = path.join(work, 'trace.json');
        // The root page's own work done first.
        await win.page.evaluate(() => new Promise((done) => setTimeout(done, 300)));
        await win.context.browser().startTracing(win.page, { path: file, categories: ['toplevel', 'blink.user_timing'] });
        await openPage(win.page, selector);
        await win.context.browser().stopTracing();
        return mainThreadMs(file);
    }
    let opened;
    const frames = await kiosk.drawnFrames(win.session, async () => { opened = await openPage(win.page, selector); });
    let shown = 0;
    for (let f = 0; f < frames.length; ++f) {
        const until = f + 1 < frames.length ? frames[f + 1].time : opened.readyAt;
        if (frames[f].white > 0.9 && until > opened.start)
            shown += until - Math.max(frames[f].time, opened.start);
    }
    return shown;
}

// The Templates take turns, run by run, so that a machine busy with
// something else weighs on both alike.
async function measure(browser, templates, work) {
    const kiosks = templates.map(([label, template, build]) => ({ label, k: makeWith(template, build, work) }));
    for (const rate of [1, 4]) {
        const wins = [];
        for (let t = 0; t < kiosks.length; ++t) {
            wins.push(await kiosk.openWindow(browser, size));
            await wins[t].context.addInitScript(markReady);
            await wins[t].session.send('Emulation.setCPUThrottlingRate', { rate });
        }
        const ready = kiosks.map(() => []), white = kiosks.map(() => []), cpu = kiosks.map(() => []);
        for (let r = 0; r < runs; ++r)
            for (let t = 0; t < kiosks.length; ++t) {
                ready[t].push(await openOnce(wins[t], kiosks[t].k, 'ready', work));
                white[t].push(await openOnce(wins[t], kiosks[t].k, 'white', work));
                if (rate === 1)
                    cpu[t].push(await openOnce(wins[t], kiosks[t].k, 'cpu', work));
            }
        for (let t = 0; t < kiosks.length; ++t) {
            console.log(`${kiosks[t].label}, CPU /${rate}: 40-item selector ready in ${Math.round(median(ready[t]))} ms `
                        + `median, ${Math.round(Math.max(...ready[t]))} ms worst; white shown `
                        + `${Math.round(median(white[t]))} ms median, ${Math.round(Math.max(...white[t]))} ms worst`
                        + (rate === 1 ? `; main thread busy ${Math.round(median(cpu[t]))} ms median` : '')
                        + ` (${runs} runs)`);
            await wins[t].context.close();
        }
    }
}

async function main() {
    if (kiosk.chromiumMissing()) {
        console.log('Chromium (/usr/bin/chromium) is not installed');
        process.exit(77);
    }
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zel-paint-'));
    const pw = kiosk.playwright(path.join(buildDir, 'browser-node'));
    const browser = await kiosk.launch(pw);
    const given = (name, otherwise) => process.env[name] ? path.resolve(process.env[name]) : otherwise;
    const templates = [['now', given('ZEL_TEMPLATE', ''), buildDir]];
    if (process.env.ZEL_BASELINE_TEMPLATE || process.env.ZEL_BASELINE_BUILD)
        templates.unshift(['baseline', given('ZEL_BASELINE_TEMPLATE', templates[0][1]),
                           given('ZEL_BASELINE_BUILD', buildDir)]);
    const load = () => os.loadavg().map((value) => value.toFixed(2)).join(' ');
    try {
        console.log(`load average before: ${load()}`);
        await measure(browser, templates, work);
        console.log(`load average after: ${load()}`);
    } finally {
        await browser.close();
        fs.rmSync(work, { recursive: true, force: true });
    }
}

main().catch((error) => {
    console.log(error.stack || String(error));
    process.exit(1);
});
