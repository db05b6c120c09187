#!/usr/bin/env node
// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The made kiosk pages in real Chromium with its default settings, shown from
// disk (file://) and served over HTTP, at six screen sizes: every page opens
// as a whole kiosk page; buttons work by real touch (each button of each page
// at some of the sizes, chosen by a fixed rule, so that every button is
// touched in every way of showing); no touch leaves the visitor on a page
// without a working button (or, where an author gave a page none, without the
// idle return); no script error; the kiosk goes home by itself
// from every page, the missing page included; and one row for each author
// mistake the pages must survive.
//
// Usage: run_tests.js BUILD_DIR [--prepare | --only NAME_PART | --sizes I,J]. --sizes
// runs the sizes of those places in the list (0 is the first) alone, so that
// parts of the run go side by side; each button is still touched once in each
// way of showing over the parts together. Exit 0 when every row passes, 1
// when one fails, 77 (skipped) without Chromium.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const kiosk = require('./kiosk');

// ZEL_SIZES ("[[800,600]]") runs fewer sizes while working on the pages.
const sizes = (process.env.ZEL_SIZES ? JSON.parse(process.env.ZEL_SIZES)
                                     : [[800, 600], [1024, 768], [1280, 1024], [1920, 1080], [1080, 1920], [3840, 2160]])
    .map(([width, height]) => ({ width, height }));
const buildDir = path.resolve(process.argv[2] || 'build');
const option = (name) => (process.argv.indexOf(name) > 0 ? process.argv[process.argv.indexOf(name) + 1] : '');
const only = option('--only');
const chosen = option('--sizes') ? option('--sizes').split(',').map(Number) : sizes.map((size, index) => index);

let passed = 0, failed = 0;
function row(name, ok, detail) {
    ok ? ++passed : ++failed;
    console.log(ok ? `ok   ${name}` : `FAIL ${name}${detail ? ': ' + detail : ''}`);
}

const fileUrl = (file) => 'file://' + file.split(path.sep).map(encodeURIComponent).join('/');

// Where a link of a page leads in the kiosk: the file it names, or the shared
// missing page when that file does not exist.
function expectedTarget(k, from, resolved) {
    const relative = decodeURIComponent(new URL(resolved).pathname).replace(/\\/g, '/');
    const page = path.posix.normalize(relative.slice(relative.indexOf(from.root) + from.root.length));
    return fs.existsSync(path.join(k.dir, page)) ? page : 'missing.html';
}

async function visitorRun(browser, k, size, sizeIndex, mode, base) {
    const label = `${size.width}x${size.height} ${mode}`;
    // Deterministic choice: the buttons (and idle pages) of a page tried at this size and way of showing; across
    // the six sizes every button is touched once in each way of showing: (page + button + turn) % 6 === 0.
    const turn = sizeIndex + (mode === 'http' ? 3 : 0);
    const root = mode === 'file' ? fileUrl(k.dir) + '/' : base;
    const urlOf = (page) => root + page;
    const from = { root: mode === 'file' ? k.dir.split(path.sep).join('/') + '/' : '/' };
    const win = await kiosk.openWindow(browser, size);
    const { page } = win;
    const broken = [], buttonless = [];
    const pages = k.pages.concat(['missing.html']);
    // Back from the first page opened goes to a page of the kiosk.
    await kiosk.open(page, urlOf('root/root.htm'));

    for (let p = 0; p < pages.length; ++p) {
        const name = pages[p];
        if (only && !name.includes(only))
            continue;
        await kiosk.open(page, urlOf(name));
        const state = await kiosk.waitForKiosk(page, urlOf(name));
        if (!state) {
            broken.push(`${name} does not open as a kiosk page`);
            continue;
        }
        if (!state.buttons.some((b) => b.text))
            buttonless.push(name);
        for (let b = 0; b < state.buttons.length; ++b) {
            const button = state.buttons[b];
            if (!button.text || (p + b + turn) % 6 !== 0)
                continue;
            let fault;
            try {
                fault = await touchButton(win, k, from, urlOf, name, button);
            } catch (e) {
                fault = String(e).split('\n')[0];
            }
            if (fault) {
                broken.push(`${name} ${button.id} "${button.text.slice(0, 24)}": ${fault}`);
                await kiosk.open(page, urlOf(name));
                await kiosk.waitForKiosk(page, urlOf(name));
            }
        }
    }
    row(`${label}: every page opens as a kiosk page and its buttons work by touch`, broken.length === 0,
        broken.slice(0, 6).join('; '));
    // Stranded: after a touch the window shows no kiosk page, or one without a button.
    const stranded = broken.filter((fault) => /shows (?!file:|http:)|has no button|left the kiosk/.test(fault));
    row(`${label}: no touch leaves a visitor without a working button`, stranded.length === 0, stranded.join('; '));
    row(`${label}: no script error`, win.log.errors.length === 0, win.log.errors.slice(0, 4).join(' | '));
    await win.context.close();

    // A page without a button (an author's root page without buttons) leaves
    // the visitor only the idle return: it is tried on those at every size.
    await idleRun(browser, size, turn, urlOf, pages, buttonless, label);
    if (mode === 'file') {
        for (const [part, run] of [['author mistakes', authorMistakes], ['visitor aids', visitorAids],
                                   ['first paint', firstPaint]]) {
            try {
                await run(browser, k, size, urlOf, label);
            } catch (error) {
                row(`${label}: the ${part} run to their end`, false, String(error).split('\n')[0]);
            }
        }
    }
}

// The browser's own back or forward (the script goes without waiting for the page).
async function historyStep(page, by) {
    await page.evaluate((step) => { setTimeout(() => history.go(step), 0); }, by);
}

// Touches one button of the page shown (a prepared kiosk page) and checks
// what it did, leaving the page shown again; returns the fault or "".
async function touchButton(win, k, from, urlOf, name, button) {
    const { page } = win;
    const call = /^javascript:(\w+)\(\)$/.exec(button.href || '');
    if (!call) {
        const target = expectedTarget(k, from, button.resolved);
        await kiosk.tap(page, button.x, button.y);
        const there = await kiosk.waitForKiosk(page, urlOf(target));
        if (!there)
            return `touch did not open ${target} (shows ${page.url()})`;
        if (!there.buttons.some((b) => b.text))
            return `${target} has no button`;
        // Back on the page reached comes back here; so does the browser's own
        // back where the page has no Back button.
        const back = there.buttons.find((b) => b.href === 'javascript:goBack()');
        if (back)
            await kiosk.tap(page, back.x, back.y);
        else
            await historyStep(page, -1);
        return (await kiosk.waitForKiosk(page, urlOf(name))) ? ''
            : `Back from ${target} did not come back (shows ${page.url()})`;
    }
    const con = kiosk.frameNamed(page, 'con');
    const before = await con.evaluate(() => {
        const s = document.body.classList.contains('scrolls') ? document.body : document.scrollingElement;
        const f = document.getElementsByName('row')[0];
        const a = document.querySelector('#sTable tr.current a');
        return { y: s ? s.scrollTop : 0, max: s ? s.scrollHeight - s.clientHeight : 0, row: f ? Number(f.value) : -1,
                 rows: document.getElementById('sTable') ? document.getElementById('sTable').rows.length : 0,
                 link: a ? { written: a.getAttribute('href'), resolved: a.href } : null };
    });
    // Down and Up buttons move the content (scroll...) or the current row (row..., page...) unless at the end,
    // where (and on a list of one row or none) they look disabled.
    const move = /^(scroll|row|page)(down|up)$/.exec(call[1]);
    const scrolls = move && move[1] === 'scroll';
    const at = scrolls ? before.y : before.row, end = scrolls ? before.max - 1 : before.rows - 1;
    const moves = !!move && (scrolls ? before.max : end) > 0 && (move[2] === 'down' ? at < end : at > 0);
    const nav = () => kiosk.frameNamed(page, 'nav');
    if (move && !(await kiosk.waitFor(async () => (await nav().evaluate((id) =>
        document.getElementById(id).classList.contains('disabled'), button.id)) === !moves, 5000)))
        return `${call[1]} looks ${moves ? 'disabled' : 'usable'}`;
    const url = page.url();
    await kiosk.tap(page, button.x, button.y);
    if (move) {
        const now = () => kiosk.frameNamed(page, 'con').evaluate((scrolls) => {
            const s = document.body.classList.contains('scrolls') ? document.body : document.scrollingElement;
            return scrolls ? s.scrollTop : Number(document.getElementsByName('row')[0].value);
        }, scrolls);
        return moves && !(await kiosk.waitFor(async () => (await now()) !== at)) ? `${call[1]} did not move` : '';
    }
    if (call[1] === 'goBack') {
        // Pressed again at once, while the window is leaving: still only one page back.
        await nav().evaluate((id) => document.getElementById(id).click(), button.id).catch(() => {});
        // Back goes to the page opened before this one.
        if (!(await kiosk.waitFor(() => page.url() !== url)) || !(await kiosk.waitForKiosk(page)))
            return `Back did not open the page before (shows ${page.url()})`;
        await historyStep(page, 1);
        return (await kiosk.waitForKiosk(page, urlOf(name))) ? '' : 'the page did not come back';
    }
    if (call[1] === 'select') {
        const link = before.link;
        if (!link || !link.written) {
            await new Promise((r) => setTimeout(r, 100));
            return (await kiosk.waitForKiosk(page, urlOf(name))) ? '' : 'Select without a page left the kiosk';
        }
        const target = expectedTarget(k, from, link.resolved);
        if (!(await kiosk.waitForKiosk(page, urlOf(target))))
            return `Select did not open ${target} (shows ${page.url()})`;
        await historyStep(page, -1);
        return (await kiosk.waitForKiosk(page, urlOf(name))) ? '' : 'the selector did not come back';
    }
    return '';
}

// Left alone, every page goes home: the idle time is made short in the
// browser; every page at some sizes, the root and missing pages at all.
async function idleRun(browser, size, turn, urlOf, pages, buttonless, label) {
    const win = await kiosk.openWindow(browser, size, 0.4);
    const faults = [];
    for (let p = 0; p < pages.length; ++p) {
        const name = pages[p];
        const every = name === 'missing.html' || buttonless.includes(name);
        if ((only && !name.includes(only)) || !(every || (p + turn) % 6 === 0))
            continue;
        await kiosk.open(win.page, urlOf(name));
        // Already home: it stays there and starts afresh.
        const home = name === 'root/root.htm';
        if (home)
            await new Promise((r) => setTimeout(r, 900));
        if (!(await kiosk.waitForKiosk(win.page, urlOf('root/root.htm'))))
            faults.push(home ? 'root did not stay' : `${name} stays (${win.page.url()})`);
    }
    row(`${label}: left alone, every page goes home`, faults.length === 0, faults.join('; '));
    await win.context.close();
}

// One row for each author mistake the pages must survive.
async function authorMistakes(browser, k, size, urlOf, label) {
    const win = await kiosk.openWindow(browser, size);
    const { page } = win;
    const open = async (name) => {
        await kiosk.open(page, urlOf(name));
        return kiosk.waitForKiosk(page, urlOf(name));
    };
    const con = () => kiosk.frameNamed(page, 'con'), nav = () => kiosk.frameNamed(page, 'nav');

    // An item without a text: Select and a touch on its row stay in the kiosk.
    let state = await open('hard/items.htm');
    const select = state.buttons.find((b) => b.href === 'javascript:select()');
    await kiosk.tap(page, select.x, select.y);
    const rowBox = await (await con().$('#sTable tr')).boundingBox();
    await kiosk.tap(page, rowBox.x + rowBox.width / 2, rowBox.y + rowBox.height / 2);
    await new Promise((r) => setTimeout(r, 150));
    row(`${label}: an item without a text keeps the visitor in the kiosk`,
        !!(await kiosk.waitForKiosk(page, urlOf('hard/items.htm'))), page.url());

    // Tall root content: readable, and all of it reached by a swipe.
    state = await open('root/tall.htm');
    const tall = await con().evaluate(() => {
        const b = document.body, scale = b.style.transform ? parseFloat(/scale\(([\d.]+)/.exec(b.style.transform)[1]) : 1;
        return { scale, scrolls: b.classList.contains('scrolls'), max: b.scrollHeight - b.clientHeight };
    });
    const frameBox = await (await con().frameElement()).boundingBox();
    await kiosk.swipe(win.session, frameBox.x + frameBox.width / 2, frameBox.y + frameBox.height * 0.8,
                      -frameBox.height * 0.6);
    const swiped = await kiosk.waitFor(() => con().evaluate(() => document.body.scrollTop > 0), 10000);
    // The idle return on it, as if it were the root page, shows its title again (asked again until the swipe's
    // glide has ended: a visitor's idle return comes long after it).
    const reset = await kiosk.waitFor(async () => {
        await page.evaluate(() => { hub.homeAddress = location.href; idleTimeOut(); });
        return con().evaluate(() => document.body.scrollTop === 0
            && document.querySelector('p.title').getBoundingClientRect().top >= 0);
    }, 5000);
    row(`${label}: tall root content stays readable, scrolls by a swipe and back to its title when idle`,
        tall.scale >= 0.69 && (!tall.scrolls || (swiped && reset)),
        JSON.stringify(tall) + ` swiped ${swiped} reset ${reset}`);

    // Missing pictures take no room; the selector row keeps its height (pictures of rows further down may still load).
    state = await open('hard/items.htm');
    const pictures = await con().evaluate(() => Array.from(document.images).filter((i) => i.complete && i.naturalWidth === 0)
        .map((i) => { const r = i.getBoundingClientRect(); return r.width * r.height; }));
    const heights = await con().evaluate(() => Array.from(document.getElementById('sTable').rows).map((r) =>
        Math.round(r.getBoundingClientRect().height)));
    const selectHeight = await nav().evaluate(() =>
        Math.round(document.getElementById('b2').parentNode.getBoundingClientRect().height));
    await open('hard/pictures.htm');
    const leafPictures = await con().evaluate(() => Array.from(document.images).map((i) => {
        const r = i.getBoundingClientRect(); return r.width * r.height; }));
    row(`${label}: a missing picture is hidden and its row keeps the Select button's height`,
        pictures.length >= 2 && pictures.every((a) => a === 0) && leafPictures.every((a) => a === 0)
            && heights.every((h) => Math.abs(h - selectHeight) <= 2),
        JSON.stringify({ pictures, leafPictures, heights, selectHeight }));

    // A 130-character caption and an unbreakable word: readable size, nothing cut off silently.
    state = await open('hard/captions.htm');
    const captions = await nav().evaluate(() => {
        const root = parseFloat(getComputedStyle(document.documentElement).fontSize);
        return ['b2', 'b3'].map((id) => {
            const a = document.getElementById(id), span = a.querySelector('.caption');
            const size = parseFloat(getComputedStyle(a).fontSize);
            // Clipped: a line of text (of those shown) reaching beyond the caption or the caption beyond its button.
            const box = span.getBoundingClientRect(), button = a.getBoundingClientRect(), range = document.createRange();
            range.selectNodeContents(span);
            const clipped = box.right > button.right + 1 || Array.from(range.getClientRects()).some(
                (line) => line.bottom <= box.bottom + 1 && (line.right > box.right + 1 || line.left < box.left - 1));
            const fitsWhole = span.scrollHeight <= span.clientHeight + 1;
            return { id, size, least: Math.round(0.6 * 1.1 * root) - 1, clipped,
                     marked: span.classList.contains('shortened'), fitsWhole };
        });
    });
    row(`${label}: long captions stay readable and are shortened with an ellipsis`,
        captions.every((c) => c.size >= c.least && !c.clipped && (c.fitsWhole || c.marked)), JSON.stringify(captions));

    // Wide author HTML: the page does not scroll sideways; what is too wide scrolls in its own box.
    await open('hard/wide.htm');
    const wide = await con().evaluate(() => {
        const page = document.scrollingElement;
        const boxes = Array.from(document.querySelectorAll('.wide'));
        return { sideways: page.scrollWidth > page.clientWidth + 1, boxes: boxes.length,
                 scrollable: boxes.every((b) => b.scrollWidth > b.clientWidth) };
    });
    row(`${label}: wide author HTML keeps the page from scrolling sideways`,
        !wide.sideways && wide.boxes >= 1 && wide.scrollable, JSON.stringify(wide));

    // Screen readers: languages, frame titles, page titles, the hidden second Select id, the selector's rows
    // named by their texts with the current one selected, Select's name (the accessibility tree Chromium gives).
    await open('shops/directory.htm');
    await kiosk.waitFor(() => con().evaluate(() => !!document.querySelector('#sTable tr[aria-selected="true"]')));
    const tree = async (name) => {
        const frames = (await win.session.send('Page.getFrameTree')).frameTree.childFrames;
        const frameId = frames.find((f) => f.frame.name === name).frame.id;
        return (await win.session.send('Accessibility.getFullAXTree', { frameId })).nodes.filter((n) => !n.ignored)
            .map((n) => ({ role: n.role.value, name: n.name ? n.name.value : '',
                           selected: (n.properties || []).some((p) => p.name === 'selected' && p.value.value) }));
    };
    // Rows further down may join the list only once the page is drawn.
    const items = await con().evaluate(() => document.querySelectorAll('#sTable p.item').length);
    let options = [];
    await kiosk.waitFor(async () => (options = (await tree('con')).filter((n) => n.role === 'option')).length
        >= items, 5000);
    const texts = await con().evaluate(() => Array.from(document.querySelectorAll('#sTable p.item'))
        .map((p) => p.innerText.replace(/\s+/g, ' ').trim()));
    const names = {
        options: options.map((o) => o.name).join() === texts.join()
            && options.map((o) => o.selected).join() === texts.map((t, i) => i === 0).join(),
        select: (await tree('nav')).filter((n) => n.role === 'button').map((n) => n.name)[1],
        lang: await page.evaluate(() => document.documentElement.lang),
        frames: await page.evaluate(() => Array.from(document.querySelectorAll('frame')).map((f) => f.title).join()),
        conTitle: await con().evaluate(() => document.title),
        conLang: await con().evaluate(() => document.documentElement.lang),
        b3: await nav().evaluate(() => document.getElementById('b3').getAttribute('aria-hidden')),
    };
    row(`${label}: screen readers get language, frame and page names, the named rows and the current one`,
        names.lang === 'en' && names.conLang === 'en' && names.frames === 'Content,Buttons'
            && !/^\s*-/.test(names.conTitle) && names.b3 === 'true' && names.options
            && names.select === 'Select the item currently displayed on the left', JSON.stringify(names));

    // Resized, the page refits: the same root size as when loaded at the new size.
    await page.setViewportSize({ width: Math.round(size.width * 0.8), height: Math.round(size.height * 0.7) });
    await open('root/root.htm');
    await page.setViewportSize(size);
    const refit = await kiosk.waitFor(async () => {
        const sizeNow = await nav().evaluate(() => parseFloat(getComputedStyle(document.documentElement).fontSize));
        return sizeNow === Math.max(11, Math.round(28 * Math.min(size.width / 1280, size.height / 1024)));
    }, 3000);
    row(`${label}: a resized window refits the page`, refit);
    row(`${label}: no script error in the author mistakes`, win.log.errors.length === 0, win.log.errors.join(' | '));
    await win.context.close();
}

// ---- What the pages give visitors who cannot (all) see, reach or read them.

const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];
let axeSource = '';

// The WCAG A and AA rules axe-core finds broken in the window and both frames of the page shown.
async function axeViolations(page) {
    const found = [];
    for (const frame of [page.mainFrame(), kiosk.frameNamed(page, 'con'), kiosk.frameNamed(page, 'nav')]) {
        await frame.evaluate(axeSource);
        found.push(...await frame.evaluate(async (tags) => {
            const result = await axe.run(document, { runOnly: { type: 'tag', values: tags }, iframes: false,
                                                     preload: false, resultTypes: ['violations'] });
            return result.violations.map((v) => `${window.name || 'top'} ${v.id} ${v.nodes.map((n) => n.target).join(' ')}`);
        }, axeTags));
    }
    return found;
}

// Content that a visitor's larger text pushes beyond what can be scrolled to,
// sideways out of the column, or cut off in its own box.
async function cutOff(page) {
    return kiosk.frameNamed(page, 'con').evaluate(() => {
        const s = document.body.classList.contains('scrolls') ? document.body : document.scrollingElement;
        const found = [];
        if (s.scrollWidth > s.clientWidth + 1)
            found.push('the page scrolls sideways');
        for (const e of document.body.querySelectorAll('p, img, table, pre, li, h1, h2, h3, h4, h5, h6')) {
            const r = e.getBoundingClientRect();
            if (r.width === 0 || e.closest('.wide, #sTable, #kioskNotice, .viewControls'))
                continue;
            const top = r.top + s.scrollTop, bottom = r.bottom + s.scrollTop;
            const clipped = e.nodeName === 'P' && e.scrollHeight > e.clientHeight + 1;
            if (top < -1 || bottom > s.scrollHeight + 1 || r.left < -1 || r.right > s.clientWidth + 1 || clipped)
                found.push(`${e.nodeName}.${e.className} "${e.textContent.trim().slice(0, 20)}"`);
        }
        return found;
    });
}

// Pages reached only with the keys a keypad has, from the page shown: each
// navigation button that opens a page, and on a selector each row by Row
// Down and Select; Back returns. Returns the pages reached.
async function keyWalk(page, urlOf, k, name, reached, faults) {
    reached.add(name);
    const nav = () => kiosk.frameNamed(page, 'nav');
    const state = await kiosk.waitForKiosk(page, urlOf(name));
    const buttons = state.buttons.filter((b) => b.text);
    const focusOn = async (index) => {
        const at = () => nav().evaluate(() => Array.from(document.querySelectorAll('a.nav'))
            .filter((a) => a.textContent && a.getAttribute('aria-hidden') !== 'true')
            .findIndex((a) => a.classList.contains('keyfocus')));
        if ((await at()) < 0)
            await page.keyboard.press('ArrowRight');
        await kiosk.waitFor(async () => (await at()) >= 0, 5000);
        for (let now = await at(); now !== index; now = await at()) {
            await page.keyboard.press(now < index ? 'ArrowDown' : 'ArrowUp');
            await kiosk.waitFor(async () => (await at()) !== now, 5000);
        }
    };
    const openAndReturn = async (index, target) => {
        await focusOn(index);
        await page.keyboard.press('Enter');
        if (!(await kiosk.waitForKiosk(page, urlOf(target)))) {
            faults.push(`${name} button ${index} did not open ${target}`);
            return;
        }
        if (!reached.has(target))
            await keyWalk(page, urlOf, k, target, reached, faults);
        await page.keyboard.press('Backspace');
        if (!(await kiosk.waitForKiosk(page, urlOf(name))))
            faults.push(`Backspace on ${target} did not return to ${name}`);
    };
    const relative = (address) => {
        const file = decodeURIComponent(new URL(address).pathname);
        return path.relative(k.dir, file).split(path.sep).join('/');
    };
    for (let i = 0; i < buttons.length; ++i) {
        const href = buttons[i].href || '';
        if (!/^javascript:/.test(href)) {
            const target = relative(buttons[i].resolved);
            if (!reached.has(target) && fs.existsSync(path.join(k.dir, target)))
                await openAndReturn(i, target);
        }
    }
    const select = buttons.findIndex((b) => b.href === 'javascript:select()');
    const down = buttons.findIndex((b) => b.href === 'javascript:rowdown()');
    if (select < 0 || down < 0)
        return;
    const rows = await kiosk.frameNamed(page, 'con').evaluate(() =>
        Array.from(document.querySelectorAll('#sTable tr')).map((r) => { const a = r.querySelector('a'); return a && a.getAttribute('href') ? a.href : ''; }));
    for (let r = 0; r < rows.length; ++r) {
        const target = rows[r] ? relative(rows[r]) : '';
        if (target && !reached.has(target) && fs.existsSync(path.join(k.dir, target)))
            await openAndReturn(select, target);
        if (r + 1 < rows.length) {
            await focusOn(down);
            await page.keyboard.press('Enter');
            await kiosk.waitFor(() => kiosk.frameNamed(page, 'con').evaluate((want) =>
                Number(document.getElementsByName('row')[0].value) === want, r + 1), 5000);
        }
    }
}

const samplePages = () => {
    const dir = path.join(__dirname, '..', '..', 'examples', 'sample');
    return fs.readdirSync(dir).flatMap((folder) => fs.readdirSync(path.join(dir, folder))
        .filter((f) => f.endsWith('.zel')).map((f) => `${folder}/${f.replace(/\.zel$/, '.htm')}`)).sort();
};

async function visitorAids(browser, k, size, urlOf, label) {
    const win = await kiosk.openWindow(browser, size);
    const { page } = win;
    const pages = k.pages.concat(['missing.html']).filter((name) => !only || name.includes(only));
    const con = () => kiosk.frameNamed(page, 'con');

    // axe-core's WCAG 2.2 A and AA rules, as made and with the visitor's larger text and high contrast: each page
    // at one of the six sizes as made and at another with both aids, chosen by a fixed rule like the buttons' (the
    // rules take most of the run's time), every page at every size when one page is asked for.
    const turn = Math.max(0, sizes.findIndex((z) => z.width === size.width && z.height === size.height));
    const violations = [], cut = [];
    for (const [index, name] of pages.entries()) {
        if (!only && (index + turn) % 6 !== 0)
            continue;
        await kiosk.open(page, urlOf(name));
        await kiosk.waitForKiosk(page, urlOf(name));
        violations.push(...(await axeViolations(page)).map((v) => `${name}: ${v}`));
    }
    row(`${label}: axe-core finds no WCAG 2.2 A or AA violation`, violations.length === 0,
        violations.slice(0, 6).join('; '));

    // Text at 200 % (two touches on the visitor's text size), in high contrast: nothing cut off.
    await kiosk.open(page, urlOf('root/root.htm'));
    await kiosk.waitForKiosk(page, urlOf('root/root.htm'));
    for (const button of ['.textSize', '.textSize', '.contrastSwitch']) {
        const box = await (await con().$(`.viewControls ${button}`)).boundingBox();
        const before = await con().evaluate(() => document.documentElement.style.fontSize + document.documentElement.className);
        await kiosk.tap(page, box.x + box.width / 2, box.y + box.height / 2);
        await kiosk.waitFor(() => con().evaluate((b) =>
            document.documentElement.style.fontSize + document.documentElement.className !== b, before), 5000);
    }
    const enlarged = [];
    for (const name of pages) {
        await kiosk.open(page, urlOf(name));
        await kiosk.waitForKiosk(page, urlOf(name));
        const view = await con().evaluate(() => document.documentElement.className);
        if (!/enlarged/.test(view) || !/contrast/.test(view))
            enlarged.push(name);
        cut.push(...(await cutOff(page)).map((c) => `${name}: ${c}`));
        if (only || (pages.indexOf(name) + turn) % 6 === 3)
            violations.push(...(await axeViolations(page)).map((v) => `${name} (200 %, contrast): ${v}`));
    }
    row(`${label}: at 200 % text nothing is cut off, on every page`, cut.length === 0 && enlarged.length === 0,
        `not enlarged: ${enlarged.join()}; ` + cut.slice(0, 6).join('; '));
    row(`${label}: axe-core finds no violation with larger text and high contrast`, violations.length === 0,
        violations.slice(0, 6).join('; '));

    // A keypad alone reaches every page of the sample and comes back to the root page.
    if (size.width === 1280 || size.width === 1080) {
        const reached = new Set(), faults = [];
        await kiosk.open(page, urlOf('root/root.htm'));
        await keyWalk(page, urlOf, k, 'root/root.htm', reached, faults);
        const missed = samplePages().filter((p) => !reached.has(p));
        row(`${label}: a keypad alone reaches every page of the sample and returns to the root page`,
            missed.length === 0 && faults.length === 0 && !!(await kiosk.waitForKiosk(page, urlOf('root/root.htm'), 5000)),
            `missed ${missed.join()}; ` + faults.slice(0, 4).join('; '));
    }
    row(`${label}: no script error with the visitor aids`, win.log.errors.length === 0,
        win.log.errors.slice(0, 4).join(' | '));
    await win.context.close();

    // Speech (a recording speech synthesis stands in for the browser's): a long press switches it on, the page
    // speaks its title and buttons, a touch speaks a button and a double tap presses it, the idle return ends it.
    const talk = await kiosk.openWindow(browser, size);
    await talk.context.addInitScript(() => {
        window.zelSaid = [];
        window.SpeechSynthesisUtterance = function (text) { this.text = text; };
        Object.defineProperty(window, 'speechSynthesis',
                              { value: { speak: (u) => window.zelSaid.push(u.text), cancel: () => {} } });
    });
    const said = () => talk.page.evaluate(() => window.zelSaid.slice());
    await kiosk.open(talk.page, urlOf('root/root.htm'));
    let there = await kiosk.waitForKiosk(talk.page, urlOf('root/root.htm'));
    const content = await (await kiosk.frameNamed(talk.page, 'con').frameElement()).boundingBox();
    const held = { x: Math.round(content.x + content.width / 2), y: Math.round(content.y + content.height / 3), id: 1 };
    await talk.session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [held] });
    const on = await kiosk.waitFor(async () => (await said()).some((t) => /^Speech on/.test(t)), 8000);
    await talk.session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    const title = await talk.page.evaluate(() => pageTitle());
    const spokenPage = await kiosk.waitFor(async () => (await said()).some((t) => t.startsWith(title + '. Buttons: ')), 5000);
    const button = there.buttons.find((b) => /news\.htm$/.test(b.href || ''));
    await kiosk.tap(talk.page, button.x, button.y);
    const spoken = await kiosk.waitFor(async () => (await said()).slice(-1)[0] === button.text, 5000);
    const stayed = talk.page.url() === urlOf('root/root.htm');
    await kiosk.tap(talk.page, button.x, button.y);
    await kiosk.tap(talk.page, button.x, button.y);
    there = await kiosk.waitForKiosk(talk.page, urlOf('news/news.htm'), 10000);
    const newsTitle = there ? await talk.page.evaluate(() => pageTitle()) : '?';
    const next = there && await kiosk.waitFor(async () => (await said()).some((t) => t.startsWith(newsTitle + '. ')), 5000);
    await talk.page.evaluate(() => idleTimeOut());
    const back = await kiosk.waitForKiosk(talk.page, urlOf('root/root.htm'), 10000);
    const off = !!back && await talk.page.evaluate(() => !hubSpeech());
    row(`${label}: speech by a long press speaks pages and touched buttons, a double tap presses, idle ends it`,
        on && spokenPage && spoken && stayed && !!there && next && off,
        JSON.stringify({ on, spokenPage, spoken, stayed, there: !!there, next, off, said: (await said()).slice(-3) }));
    row(`${label}: no script error with speech`, talk.log.errors.length === 0, talk.log.errors.slice(0, 4).join(' | '));
    await talk.context.close();

    // The idle notice: shown its own time before the idle return, a touch keeps the page; the idle return then
    // forgets the visitor's text size and contrast.
    const idle = await kiosk.openWindow(browser, size, 4);
    await idle.context.addInitScript(() => {
        Object.defineProperty(window, 'idleNoticeSeconds', { get: () => 2.5, set: () => {} });
    });
    const leaf = 'news/today.htm', notice = () => kiosk.frameNamed(idle.page, 'con').evaluate(() => {
        const box = document.getElementById('kioskNotice');
        return box ? box.innerText : '';
    });
    await kiosk.open(idle.page, urlOf(leaf));
    await kiosk.waitForKiosk(idle.page, urlOf(leaf));
    const opened = Date.now();
    const size2 = await (await kiosk.frameNamed(idle.page, 'con').$('.viewControls .textSize')).boundingBox();
    await kiosk.tap(idle.page, size2.x + 5, size2.y + 5);
    const shown = await kiosk.waitFor(async () => /Still there\? Touch the screen to stay/.test(await notice()), 8000);
    const after = (Date.now() - opened) / 1000;
    const box = await (await kiosk.frameNamed(idle.page, 'con').frameElement()).boundingBox();
    await kiosk.tap(idle.page, box.x + box.width / 2, box.y + box.height / 2);
    const hidden = await kiosk.waitFor(async () => (await notice()) === '', 3000);
    // Kept: the notice comes again on the same page, and only then the idle return goes home, forgetting the view.
    const again = await kiosk.waitFor(async () => (await notice()) !== '' && idle.page.url() === urlOf(leaf), 8000);
    const home = await kiosk.waitForKiosk(idle.page, urlOf('root/root.htm'), 10000);
    const view = home ? await kiosk.frameNamed(idle.page, 'con').evaluate(() => document.documentElement.className) : '?';
    row(`${label}: the idle notice counts down before the idle return and a touch keeps the page`,
        shown && after >= 1 && hidden && again && !!home && !/enlarged|contrast/.test(view),
        JSON.stringify({ shown, after, hidden, again, home: !!home, view }));
    await idle.context.close();
}

// ---- Pages on show by date and time (the small kiosk of dates/): the kiosk's clock set by the pages' hook
// ("?at=" on the first page, zelSetClock) to moments before, during and after a page's dates, across midnight and
// at the change to summer time (Europe/Berlin, 2027-03-28 02:00 -> 03:00): the buttons and selector rows to pages
// off show are hidden, their place kept; a page that goes off show is left at the next touch, one opened off show
// at once; the root page stays.
async function scheduleRun(browser, buildDir, size, work, label) {
    const k = kiosk.makeKiosk(buildDir, size, work, [path.join(__dirname, 'dates')]);
    const win = await kiosk.openWindow(browser, size, 0, 'Europe/Berlin');
    const { page } = win;
    const urlOf = (name) => fileUrl(k.dir) + '/' + name;
    const nav = () => kiosk.frameNamed(page, 'nav'), con = () => kiosk.frameNamed(page, 'con');
    // The captions shown in the navigation column, and where every button's cell stands.
    const column = () => nav().evaluate(() => ({
        shown: Array.from(document.querySelectorAll('a.nav')).filter((a) => getComputedStyle(a).visibility !== 'hidden')
            .map((a) => a.textContent.trim()).filter((t) => t).join(),
        cells: Array.from(document.querySelectorAll('td')).map((td) => Math.round(td.getBoundingClientRect().top)).join(),
    }));
    const setClock = (at) => page.evaluate((moment) => zelSetClock(moment), at);
    const shows = async (expected) => {
        let last = null;
        const ok = await kiosk.waitFor(async () => (last = await column()).shown === expected, 5000);
        return { ok, last };
    };
    await kiosk.open(page, urlOf('root/root.htm?at=2026-11-30T12:00'));
    await kiosk.waitForKiosk(page, urlOf('root/root.htm'));
    const layout = (await column()).cells;
    const faults = [];
    const moments = [
        ['before the fair, Monday noon', '2026-11-30T12:00', 'Lunch,List'],
        ['during the fair, Saturday noon', '2026-12-05T12:00', 'Fair,List'],
        ['the fair\'s last minute', '2026-12-24T17:59', 'Fair,List'],
        ['after the fair', '2026-12-24T18:00', 'List'],
        ['Friday before midnight', '2026-12-11T23:59', 'Fair,Night,List'],
        ['Saturday after midnight', '2026-12-12T01:59', 'Fair,Night,List'],
        ['Saturday night over', '2026-12-12T02:00', 'Fair,List'],
        ['before summer time', '2027-03-28T01:59', 'List'],
        ['after the clock jumps to summer time', '2027-03-28T03:00', 'List,Spring'],
    ];
    for (const [name, at, expected] of moments) {
        await setClock(at);
        const { ok, last } = await shows(expected);
        if (!ok || last.cells !== layout)
            faults.push(`${name}: ${JSON.stringify(last)}`);
    }
    row(`${label}: buttons to pages off show are hidden at each moment and keep the column's layout`,
        faults.length === 0, faults.join('; '));

    // A selector's rows follow too, and a touch on a row shown opens its page.
    await kiosk.open(page, urlOf('events/list.htm?at=2026-12-05T12:00'));
    await kiosk.waitForKiosk(page, urlOf('events/list.htm'));
    const rows = await con().evaluate(() => Array.from(document.querySelectorAll('#sTable tr'))
        .filter((r) => r.style.display !== 'none').map((r) => r.innerText.trim()).join());
    const rowBox = await (await con().$('#sTable tr:not([style*="none"])')).boundingBox();
    await kiosk.tap(page, rowBox.x + rowBox.width / 2, rowBox.y + rowBox.height / 2);
    const fair = !!(await kiosk.waitForKiosk(page, urlOf('events/fair.htm')));
    row(`${label}: a selector shows the rows to pages on show only`, rows === 'Fair' && fair, `${rows} ${fair}`);

    // Friday night: the night page is open; the clock passes 02:00; the next touch leads to the root page.
    await kiosk.open(page, urlOf('root/root.htm?at=2026-12-11T23:59'));
    let state = await kiosk.waitForKiosk(page, urlOf('root/root.htm'));
    const night = state.buttons.find((b) => b.text === 'Night');
    await kiosk.tap(page, night.x, night.y);
    const opened = !!(await kiosk.waitForKiosk(page, urlOf('events/night.htm')));
    await setClock('2026-12-12T02:00');
    const stays = page.url().includes('events/night.htm');
    const conBox = await (await con().frameElement()).boundingBox();
    await kiosk.tap(page, conBox.x + conBox.width / 2, conBox.y + conBox.height / 2);
    const left = !!(await kiosk.waitForKiosk(page, urlOf('root/root.htm')));
    // Opened off show (an address kept, the history): left at once.
    await kiosk.open(page, urlOf('events/lunch.htm?at=2026-12-05T12:00'));
    const leftAtOnce = !!(await kiosk.waitForKiosk(page, urlOf('root/root.htm')));
    // The root page stays at any moment.
    await setClock('2031-01-01T00:00');
    await kiosk.tap(page, conBox.x + conBox.width / 2, conBox.y + conBox.height / 2);
    await new Promise((r) => setTimeout(r, 300));
    const rootStays = !!(await kiosk.waitForKiosk(page, urlOf('root/root.htm')));
    row(`${label}: a page going off show is left at the next touch, one opened off show at once, the root stays`,
        opened && stays && left && leftAtOnce && rootStays, JSON.stringify({ opened, stays, left, leftAtOnce, rootStays }));
    row(`${label}: no script error with dates`, win.log.errors.length === 0, win.log.errors.slice(0, 4).join(' | '));
    await win.context.close();
}

// Pages opened one after another as a visitor's touches open them: no frame the browser draws on the way is white
// (the style sheet's background is not), and no frame draws a page's text before the script has fitted it.
async function firstPaint(browser, k, size, urlOf, label) {
    const win = await kiosk.openWindow(browser, size);
    const { page } = win;
    await win.context.addInitScript(() => {
        if (window === window.top)
            return;
        window.zelUnfittedFrames = 0;
        const tick = () => {
            const root = document.documentElement;
            if (root && root.getAttribute('data-kiosk-ready') === '1')
                return;
            if (document.body && root && !root.classList.contains('preparing'))
                ++window.zelUnfittedFrames;
            requestAnimationFrame(tick);
        };
        requestAnimationFrame(tick);
    });
    const faults = [];
    await kiosk.open(page, urlOf('root/root.htm'));
    await kiosk.waitForKiosk(page, urlOf('root/root.htm'));
    for (const name of ['news/news.htm', 'shops/long.htm', 'root/root.htm', 'missing.html']) {
        const frames = await kiosk.drawnFrames(win.session, async () => {
            await page.evaluate((to) => { window.location.href = to; }, urlOf(name));
            await kiosk.waitForKiosk(page, urlOf(name));
            await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        });
        const white = frames.filter((f) => f.white > 0.9).length;
        if (white)
            faults.push(`${name}: ${white} of ${frames.length} frames white`);
        for (const frameName of ['con', 'nav']) {
            const unfitted = await kiosk.frameNamed(page, frameName).evaluate(() => window.zelUnfittedFrames);
            if (unfitted)
                faults.push(`${name}: ${frameName} drawn ${unfitted} times before it was fitted`);
        }
    }
    row(`${label}: pages open on their own background, never white, and show no text before it is fitted`,
        faults.length === 0, faults.join('; '));
    await win.context.close();
}

// A tall portrait screen mounted for a wheelchair user's reach: on every page of the sample, the missing page and
// two pages with links of the author's, the centre of every touch target (navigation buttons, the selector rows
// shown, the visitor's buttons, the content's links) lies between 380 and 1220 mm above the floor, or below it
// where the content scrolls far enough to bring it up.
async function reachRun(browser, buildDir, size, work, label) {
    const screenMm = 1210, bottomMm = 300;
    const links = path.join(work, 'reach-links');
    fs.mkdirSync(path.join(links, 'links'), { recursive: true });
    const lines = Array.from({ length: 40 }, (_, i) => `Line ${i} of a page with links.`);
    fs.writeFileSync(path.join(links, 'links', 'leaf.zel'), ['#leaf', '#html', '<a href="../news/news.htm">News</a>',
        '#para', ...lines, '#html', '<p><a href="../root/root.htm">Start</a></p>', ''].join('\r\n'));
    fs.writeFileSync(path.join(links, 'links', 'branch.zel'),
                     ['#branch', '#html', '<a href="leaf.htm">More</a>', '#para', 'A short page.', ''].join('\r\n'));
    const k = kiosk.makeKiosk(buildDir, size, work, [path.join(__dirname, '..', '..', 'examples', 'sample'), links],
                              [`screenheightmm ${screenMm}`, `mountingheightmm ${bottomMm}`]);
    const win = await kiosk.openWindow(browser, size);
    const { page } = win;
    const heightOf = (y) => bottomMm + screenMm * (1 - y / size.height);
    const lowestY = size.height * (1 - (380 - bottomMm) / screenMm);
    const faults = [];
    for (const name of k.pages.concat(['missing.html'])) {
        // The missing page keeps the numbers of the page before it.
        if (name === 'missing.html') {
            await kiosk.open(page, fileUrl(k.dir) + '/root/root.htm');
            await kiosk.waitForKiosk(page);
        }
        await kiosk.open(page, fileUrl(k.dir) + '/' + name);
        if (!(await kiosk.waitForKiosk(page)))
            continue;
        const targets = [];
        for (const frameName of ['nav', 'con']) {
            const f = kiosk.frameNamed(page, frameName);
            const box = await (await f.frameElement()).boundingBox();
            targets.push(...(await f.evaluate(() => {
                const s = document.body.classList.contains('scrolls') ? document.body : document.scrollingElement;
                return Array.from(document.querySelectorAll('a.nav, #sTable tr, .viewControls button, a[href]'))
                    .filter((e) => e.textContent.trim() && e.getClientRects().length && getComputedStyle(e).visibility !== 'hidden'
                            && !(e.matches('a[href]:not(.nav)') && e.closest('#sTable'))).map((e) => {
                        const r = e.getBoundingClientRect();
                        return { text: e.textContent.trim().slice(0, 20), y: r.top + r.height / 2,
                                 room: e.matches('a[href]:not(.nav)') ? s.scrollHeight - s.clientHeight - s.scrollTop : 0 };
                    });
            })).map((t) => ({ ...t, y: t.y + box.y })));
        }
        for (const t of targets) {
            const mm = heightOf(t.y);
            if (mm > 1220 || (mm < 380 && t.y - lowestY > t.room))
                faults.push(`${name}: ${t.text} at ${Math.round(mm)} mm`);
        }
        if (targets.length === 0)
            faults.push(`${name}: no target`);
    }
    row(`${label}: every touch target within reach (380 to 1220 mm) on a screen mounted for it`,
        faults.length === 0, faults.slice(0, 6).join('; '));
    row(`${label}: no script error within reach`, win.log.errors.length === 0, win.log.errors.slice(0, 4).join(' | '));
    await win.context.close();
}

async function main() {
    if (kiosk.chromiumMissing()) {
        console.log('SKIP: Chromium (/usr/bin/chromium) is not installed; scripts/setup installs it');
        process.exit(77);
    }
    const pw = kiosk.playwright(path.join(buildDir, 'browser-node'));
    // "--prepare": the Node.js modules installed once before the parts start side by side.
    if (process.argv.includes('--prepare'))
        process.exit(0);
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zel-browser-'));
    axeSource = fs.readFileSync(kiosk.axePath(path.join(buildDir, 'browser-node')), 'utf8');
    const browser = await kiosk.launch(pw);
    const started = Date.now();
    try {
        // "--only dates": the rows of dates alone.
        for (const s of chosen.filter(() => only === 'dates'))
            await scheduleRun(browser, buildDir, sizes[s], work, `${sizes[s].width}x${sizes[s].height} dates`);
        // "--only reach": the reach rows alone.
        for (const size of chosen.map((s) => sizes[s]).filter((z) => z.height > z.width && (!only || only === 'reach')))
            await reachRun(browser, buildDir, size, work, `${size.width}x${size.height} reach`);
        for (const s of chosen.filter(() => only !== 'dates' && only !== 'reach')) {
            const size = sizes[s];
            const k = kiosk.makeKiosk(buildDir, size, work);
            row(`${size.width}x${size.height}: Make All counts the dead references`,
                /dead reference/i.test(k.out + k.messages), (k.out + k.messages).split('\n').slice(-3).join(' / '));
            const server = await kiosk.serve(k.dir);
            // Both ways of showing at once, each in a window of its own.
            await Promise.all(['file', 'http'].map((mode) => visitorRun(browser, k, size, s, mode, server.base)));
            await server.close();
            // Dates at a landscape and a portrait size.
            if (s === 0 || s === 4 || sizes.length === 1)
                await scheduleRun(browser, buildDir, size, work, `${size.width}x${size.height} dates`);
            console.log(`     ${size.width}x${size.height} done after ${Math.round((Date.now() - started) / 1000)} s`);
        }
    } finally {
        await browser.close();
        fs.rmSync(work, { recursive: true, force: true });
    }
    console.log(`browser tests took ${Math.round((Date.now() - started) / 1000)} s`);
    console.log(`${passed} passed, ${failed} failed`);
    process.exit(failed ? 1 : 0);
}

main().catch((error) => {
    console.log(`FAIL ${error.stack || error}`);
    console.log(`${passed} passed, ${failed + 1} failed`);
    process.exit(1);
});
