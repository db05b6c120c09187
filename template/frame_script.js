// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Script shared by every made page of the kiosk system. Each page is a
// frameset with a content frame "con" and a navigation frame "nav"; the
// navigation buttons name the functions below in their links.
//
// The three windows never reach into each other: a browser with its default
// settings treats every file of a kiosk shown from disk as a separate origin
// and refuses such access (and a link's "javascript:" run in another frame).
// Instead they talk by messages. The frameset window is the hub: it keeps the
// idle time, the remembered selector rows and the screen size, moves the whole
// window to another page, and passes each frame's news to the other. The
// navigation frame turns a touch on a button into a message; the content frame
// scrolls, moves the selector's highlight and fits its content.
//
// The functions of the links also work when called in any of the three
// windows, and none of them throws.

// Seconds without a touch after which the kiosk goes back to the root page
// and forgets the places remembered during the visit.
var idleSecondsBeforeHome = 120;

// Seconds before that return during which the notice "Still there? Touch the
// screen to stay" counts down; a touch or a key keeps the page. At least 20,
// so that every visitor has time to react.
var idleNoticeSeconds = 20;

var kioskMessage = "zel-kiosk";

function kioskTop() {
    try {
        return window.top || window;
    } catch (e) {
        return window;
    }
}

function isHub() {
    return window === kioskTop();
}

// The author's viewer sets zelEditMode in every window: it stays on the page
// it was asked to show, and links go exactly where they point.
function editMode() {
    return !!window.zelEditMode;
}

function pixels(value) {
    var number = parseFloat(value);
    return isNaN(number) ? 0 : number;
}

// ---- Messages. Every message is a plain object {kind: "zel-kiosk", type: ...}.
// File pages have no origin of their own to name, so the target is "*"; a
// receiver takes messages only from the windows it talks to.

function post(target, message) {
    try {
        if (!target)
            return;
        message.kind = kioskMessage;
        target.postMessage(message, "*");
    } catch (e) {
    }
}

function postToHub(message) {
    if (isHub())
        hubReceive(message, null);
    else
        post(window.parent, message);
}

window.addEventListener("message", function (event) {
    try {
        var message = event.data;
        if (!message || message.kind !== kioskMessage)
            return;
        if (isHub())
            hubReceive(message, event.source);
        else if (event.source === window.parent)
            frameReceive(message);
    } catch (e) {
    }
});

// ======== The frameset window (the hub) ========

var hub = {
    frames: {},          // name -> window of the frame, once it said hello
    screen: null,        // {width, height} sent last
    scrollState: null,   // the content's last report for Up and Down
    selectBox: null,     // where the Select button stands in the column
    homeAddress: null,   // Home's address as the navigation column holds it
    currentRow: null,
    initRequested: false,
    leaving: false,      // on the way to another page: touches that go elsewhere wait
    leavingTimer: null,
    noticeTimer: null,
    noticeShown: false,
    keyFrame: "",        // the frame whose key focus shows ("" none yet)
    keyTargets: {},      // frame name -> how many places a key can reach in it
    view: null,          // the visitor's text size and contrast
    speech: null,        // whether the kiosk speaks
    captions: null,      // the navigation buttons' captions, once the column is ready
    clock: null          // the kiosk's clock as the frames were told it last (clockOf)
};

function frameElementNamed(name) {
    try {
        var frames = document.getElementsByTagName("frame");
        for (var i = 0; i < frames.length; ++i)
            if (frames[i].getAttribute("name") === name)
                return frames[i];
        var iframes = document.getElementsByTagName("iframe");
        for (var j = 0; j < iframes.length; ++j)
            if (iframes[j].getAttribute("name") === name)
                return iframes[j];
    } catch (e) {
    }
    return null;
}

function frameWindow(name) {
    var element = frameElementNamed(name);
    try {
        return element ? element.contentWindow : null;
    } catch (e) {
        return null;
    }
}

// The name of the frame whose window sent a message, or "".
function frameNameOf(source) {
    var names = ["con", "nav"];
    for (var i = 0; i < names.length; ++i)
        if (source && frameWindow(names[i]) === source)
            return names[i];
    return "";
}

function hubScreen() {
    return {width: window.innerWidth || 0, height: window.innerHeight || 0};
}

// The page's own title: the frameset's title less its " - Main".
function pageTitle() {
    var title = document.title || "";
    return title.replace(/\s*-\s*Main\s*$/, "");
}

function setupFor(name) {
    var element = frameElementNamed(name);
    var scrolling = element ? String(element.getAttribute("scrolling") || "").toLowerCase() : "";
    return {type: "setup", screen: hubScreen(), scrolling: scrolling, title: pageTitle(), clock: hub.clock,
            fromHistory: shownFromHistory(), rememberedRow: rememberedRow(), editMode: editMode(),
            view: hubView(), speech: hubSpeech(), reach: hubReach()};
}

function sendToFrame(name, message) {
    post(hub.frames[name] || frameWindow(name), message);
}

function hubReceive(message, source) {
    var from = source ? frameNameOf(source) : "hub";
    if (!from)
        return;
    switch (message.type) {
    case "hello":
        hub.frames[from] = source;
        labelFrames();
        sendToFrame(from, setupFor(from));
        if (from === "nav" && hub.scrollState)
            sendToFrame("nav", {type: "scrollState", state: hub.scrollState});
        if (from === "con" && hub.selectBox)
            sendToFrame("con", {type: "selectBox", box: hub.selectBox});
        if (from === "con" && hub.initRequested)
            sendToFrame("con", {type: "command", name: "init"});
        break;
    case "touch":
        noteTouch();
        break;
    case "key":
        hubKey(String(message.name || ""), from);
        break;
    case "keyTargets":
        hub.keyTargets[from] = Number(message.count) || 0;
        break;
    case "view":
        setView(message.view);
        break;
    case "say":
        hubSay(String(message.text || ""));
        break;
    case "speech":
        setSpeech(message.on === "toggle" ? !hubSpeech() : !!message.on);
        break;
    case "captions":
        hub.captions = message.captions || [];
        if (hubSpeech())
            sayPage();
        break;
    case "command":
        hubCommand(String(message.name || ""));
        break;
    case "navigate":
        leaveFor(String(message.href || ""));
        break;
    case "scrollState":
        hub.scrollState = message.state;
        sendToFrame("nav", {type: "scrollState", state: message.state});
        break;
    case "selectBox":
        hub.selectBox = message.box;
        sendToFrame("con", {type: "selectBox", box: message.box});
        break;
    case "home":
        hub.homeAddress = String(message.href || "") || null;
        break;
    case "row":
        hub.currentRow = message.row;
        rememberRow(message.row);
        break;
    }
}

function hubCommand(name) {
    if (name === "goBack") {
        hubGoBack();
        return;
    }
    if (name === "init")
        hub.initRequested = true;
    if (/^(init|scrollup|scrolldown|select|pageup|rowup|rowdown|pagedown)$/.test(name))
        sendToFrame("con", {type: "command", name: name});
}

// Back to the page shown before, the whole frameset. On the first page of a
// visit there is nothing to go back to and the page stays.
function hubGoBack() {
    try {
        if (hub.leaving || !window.history || window.history.length <= 1)
            return;
        holdLeaving();
        window.history.back();
    } catch (e) {
    }
}

// Once the window is on its way to another page, a second touch on Back, a
// button or a row is ignored: Back tapped twice would otherwise go back two
// pages. Should the browser not leave after all (Back with nothing before),
// touches count again after a while.
var leavingWaitMs = 3000;

function holdLeaving() {
    hub.leaving = true;
    if (hub.leavingTimer !== null)
        clearTimeout(hub.leavingTimer);
    hub.leavingTimer = setTimeout(stopLeaving, leavingWaitMs);
}

function stopLeaving() {
    if (hub.leavingTimer !== null)
        clearTimeout(hub.leavingTimer);
    hub.leavingTimer = null;
    hub.leaving = false;
}

// ---- Moving the whole window. A target that does not exist would leave the
// visitor on the browser's error page with no button and no idle return, so
// the hub first asks whether it exists and shows the shared missing page
// instead when it does not: over HTTP by asking the server for its headers;
// shown from disk by loading it as a style sheet for no medium (the browser
// reads any local file that way, and reports a missing one as an error).
// When the browser gives no answer the target is opened as it is.

var existenceWaitMs = 3000;

function missingAddress() {
    try {
        var home = new URL(homeAddress());
        return new URL("../missing.html", home.href).href;
    } catch (e) {
        return "";
    }
}

function go(address) {
    try {
        window.location.href = address;
    } catch (e) {
    }
}

function askServer(address, answer) {
    if (typeof fetch !== "function")
        return false;
    fetch(address, {method: "HEAD", cache: "no-store"}).then(function (response) {
        answer(response.ok || response.status === 405);
    }, function () {
        answer(true);
    });
    return true;
}

function askDisk(address, answer) {
    var head = document.head || document.documentElement;
    if (!head)
        return false;
    var probe = document.createElement("link");
    probe.rel = "stylesheet";
    probe.media = "not all";
    var settle = function (exists) {
        probe.onload = probe.onerror = null;
        if (probe.parentNode)
            probe.parentNode.removeChild(probe);
        answer(exists);
    };
    probe.onload = function () { settle(true); };
    probe.onerror = function () { settle(false); };
    probe.href = address;
    head.appendChild(probe);
    return true;
}

function leaveFor(address) {
    if (!address || /^javascript:/i.test(address) || hub.leaving)
        return;
    var target;
    try {
        target = new URL(address, window.location.href);
    } catch (e) {
        return;
    }
    if (editMode()) {
        go(target.href);
        return;
    }
    holdLeaving();
    var answered = false;
    var answer = function (exists) {
        if (answered)
            return;
        answered = true;
        holdLeaving();
        var missing = missingAddress();
        go(exists || !missing || target.href === missing ? target.href : missing);
    };
    var asked = false;
    try {
        if (/^https?:$/i.test(target.protocol))
            asked = askServer(target.href, answer);
        else if (/^file:$/i.test(target.protocol))
            asked = askDisk(target.href, answer);
    } catch (e) {
        asked = false;
    }
    if (!asked)
        answer(true);
    else
        setTimeout(function () { answer(true); }, existenceWaitMs);
}

// ---- Selector rows remembered for the visit, so that Back to a selector
// shows the row the visitor left it on.

var placeKeyPrefix = "kiosk.row:";

function placeKey() {
    try {
        return placeKeyPrefix + window.location.pathname;
    } catch (e) {
        return placeKeyPrefix;
    }
}

function rememberRow(row) {
    try {
        window.sessionStorage.setItem(placeKey(), String(row));
    } catch (e) {
    }
}

function rememberedRow() {
    try {
        var row = parseInt(window.sessionStorage.getItem(placeKey()), 10);
        return isNaN(row) ? 0 : row;
    } catch (e) {
        return 0;
    }
}

function forgetPlaces() {
    try {
        var store = window.sessionStorage;
        for (var i = store.length - 1; i >= 0; --i) {
            var key = store.key(i);
            if (key && key.indexOf(placeKeyPrefix) === 0)
                store.removeItem(key);
        }
    } catch (e) {
    }
}

// True when the frameset was shown again from the history (Back).
function shownFromHistory() {
    try {
        var entries = window.performance.getEntriesByType("navigation");
        return entries.length > 0 && entries[0].type === "back_forward";
    } catch (e) {
        return false;
    }
}

// ---- Unattended kiosk: after idleSecondsBeforeHome without a touch the
// frameset goes back to the root page and the remembered places are
// forgotten (not in the author's viewer).

var idleTimer = null;

// The root page: where the navigation column's Home points, else the root
// page beside this page's folder (from the shared missing page, which lies
// in the kiosk system folder itself, the root page of that folder).
function homeAddress() {
    if (hub.homeAddress)
        return hub.homeAddress;
    var here = window.location.href;
    var path = window.location.pathname || "";
    var relative = /\/missing\.html?$/i.test(path) ? "root/root.htm" : "../root/root.htm";
    return new URL(relative, here).href;
}

function idleTimeOut() {
    idleTimer = null;
    try {
        if (editMode())
            return;
        forgetPlaces();
        hideNotice();
        var home = new URL(homeAddress());
        var leaving = home.pathname !== window.location.pathname;
        // Leaving, the frames are not told: a selector refitted for the
        // normal view would remember its row again.
        setView(null, leaving);
        setSpeech(false, leaving);
        if (leaving) {
            go(home.href);
        } else {
            // Already home: start afresh at the first row and the top.
            sendToFrame("con", {type: "reset"});
            noteTouch();
        }
    } catch (e) {
    }
}

// Every touch restarts the idle time. In a frame it is passed to the hub.
// A touch on a page that is no longer on show leaves it for the root page.
function noteTouch() {
    try {
        if (!isHub()) {
            postToHub({type: "touch"});
            return;
        }
        if (leaveIfOffShow())
            return;
        if (idleTimer !== null)
            clearTimeout(idleTimer);
        var idle = Math.max(0, idleSecondsBeforeHome);
        idleTimer = setTimeout(idleTimeOut, idle * 1000);
        hideNotice();
        if (!editMode()) {
            var notice = Math.min(idle, Math.max(0, idleNoticeSeconds));
            hub.noticeTimer = setTimeout(function () { showNotice(notice); }, (idle - notice) * 1000);
        }
    } catch (e) {
    }
}

// ---- Pages on show by date and time. A page's #show lines are written into
// its frameset (a "kiosk-show" meta element) and into every button and
// selector row leading to it (a data-show attribute), as "from:" and
// "until:" clock times and "week:" entries (days as bits, Monday 1 ... Sunday
// 64, the time it opens and the time it closes, past midnight when it closes
// at or before it opens). The hub reads the kiosk's clock at its start, on
// every touch and at every full minute, and tells the frames: the navigation
// column hides the buttons to pages off show (their place stays a blank
// button), a selector its rows. A page off show is left for the root page at
// the next touch (at once when it opens so, e.g. from the history). Times are
// compared as the clock shows them, so a change to or from summer time moves
// nothing; a clock set back or forward is followed at the next minute.
// Anything the script cannot read counts as on show.

var clockKey = "kiosk.clock";
var clockTimer = null;

function twoDigits(number) {
    return (number < 10 ? "0" : "") + number;
}

// "2026-12-24T15:00" (or with a blank) as a local date; null when it is none.
function momentOf(text) {
    var parts = /^\s*(\d{4})-(\d{2})-(\d{2})(?:[T\s]+(\d{1,2}):(\d{2}))?\s*$/.exec(String(text || ""));
    if (!parts)
        return null;
    return new Date(Number(parts[1]), Number(parts[2]) - 1, Number(parts[3]), Number(parts[4] || 0),
                    Number(parts[5] || 0));
}

// The kiosk's clock: the browser's, moved for the visit by zelSetClock, or
// the moment the author's preview shows (zelShowAt).
function zelNow() {
    try {
        var fixed = window.zelShowAt ? momentOf(window.zelShowAt) : null;
        if (fixed)
            return fixed;
        var offset = Number(window.sessionStorage.getItem(clockKey)) || 0;
        return new Date(Date.now() + offset);
    } catch (e) {
        return new Date();
    }
}

// Sets the kiosk's clock to the moment given ("" or none: the browser's) for
// the rest of the visit, and shows the pages as at then, as a clock set
// forward or back would. Also given as "?at=2026-12-24T15:00" after the
// address of the first page opened.
function setClockOffset(text) {
    try {
        var moment = text ? momentOf(text) : null;
        if (moment)
            window.sessionStorage.setItem(clockKey, String(moment.getTime() - Date.now()));
        else
            window.sessionStorage.removeItem(clockKey);
    } catch (e) {
    }
}

function zelSetClock(text) {
    setClockOffset(text);
    if (isHub())
        clockTick(false);
}

// What the clock shows: the date and time, the day (1 Monday ... 7 Sunday)
// and the minutes of the day.
function clockOf(date) {
    return {text: date.getFullYear() + "-" + twoDigits(date.getMonth() + 1) + "-" + twoDigits(date.getDate()) + "T"
                  + twoDigits(date.getHours()) + ":" + twoDigits(date.getMinutes()),
            day: date.getDay() || 7, minutes: date.getHours() * 60 + date.getMinutes()};
}

function minutesOf(text) {
    var parts = /^(\d{1,2}):(\d{2})$/.exec(text || "");
    return parts ? Number(parts[1]) * 60 + Number(parts[2]) : NaN;
}

function onShow(show, clock) {
    if (!show || !clock)
        return true;
    var weekly = false, inWeek = false;
    var parts = String(show).split(/\s+/);
    for (var i = 0; i < parts.length; ++i) {
        var part = /^(from|until|week):(.+)$/.exec(parts[i]);
        if (!part)
            continue;
        if (part[1] === "from" && clock.text < part[2])
            return false;
        if (part[1] === "until" && clock.text >= part[2])
            return false;
        if (part[1] !== "week")
            continue;
        var week = part[2].split("/");
        var days = parseInt(week[0], 10), opens = minutesOf(week[1]), closes = minutesOf(week[2]);
        if (isNaN(days) || isNaN(opens) || isNaN(closes))
            continue;
        weekly = true;
        var today = (days >> (clock.day - 1)) & 1, yesterday = (days >> ((clock.day + 5) % 7)) & 1;
        if (opens < closes)
            inWeek = inWeek || (today && clock.minutes >= opens && clock.minutes < closes);
        else
            inWeek = inWeek || (today && clock.minutes >= opens) || (yesterday && clock.minutes < closes);
    }
    return !weekly || inWeek;
}

function pageShow() {
    var meta = document.querySelector("meta[name='kiosk-show']");
    return meta ? meta.getAttribute("content") : "";
}

// Leaves the page for the root page when it is not on show (never in the
// author's viewer); true when it does.
function leaveIfOffShow() {
    if (editMode() || hub.leaving || onShow(pageShow(), clockOf(zelNow())))
        return false;
    try {
        var home = new URL(homeAddress());
        if (home.pathname === window.location.pathname)
            return false;
        holdLeaving();
        go(home.href);
        return true;
    } catch (e) {
        return false;
    }
}

// Tells the frames the time, at the next full minute again; with leave, a
// page off show is left at once.
function clockTick(leave) {
    if (clockTimer !== null)
        clearTimeout(clockTimer);
    var now = zelNow();
    hub.clock = clockOf(now);
    for (var name in hub.frames)
        sendToFrame(name, {type: "clock", clock: hub.clock});
    if (leave)
        leaveIfOffShow();
    clockTimer = setTimeout(function () { clockTick(false); }, 60000 - (now.getTime() % 60000) + 50);
}

function startClock() {
    var asked = /[?&]at=([^&]*)/.exec(window.location.search || "");
    if (asked)
        setClockOffset(decodeURIComponent(asked[1]));
    clockTick(true);
}

// In a frame: hides the buttons and rows to pages off show at the clock;
// true when one changed.
function applyClock(clock) {
    var changed = false;
    var links = clock ? document.querySelectorAll("a[data-show]") : [];
    for (var i = 0; i < links.length; ++i) {
        var hidden = !onShow(links[i].getAttribute("data-show"), clock);
        var row = links[i].closest("#sTable tr");
        var element = row || links[i];
        var style = hidden ? (row ? "none" : "hidden") : "";
        if ((row ? element.style.display : element.style.visibility) === style)
            continue;
        changed = true;
        if (row) {
            row.style.display = style;
            continue;
        }
        links[i].style.visibility = style;
        if (hidden) {
            links[i].setAttribute("aria-hidden", "true");
            links[i].setAttribute("tabindex", "-1");
        } else {
            links[i].removeAttribute("aria-hidden");
            links[i].removeAttribute("tabindex");
        }
    }
    return changed;
}

function frameClock(clock) {
    if (frame.setup)
        frame.setup.clock = clock;
    if (!applyClock(clock) || !frame.ready)
        return;
    if (window.name === "nav") {
        reportKeyTargets();
    } else if (itemTable()) {
        showRow(currentRow());
    }
}

// ---- The notice before the idle return, shown over the content.

function showNotice(seconds) {
    hub.noticeTimer = null;
    hub.noticeShown = true;
    sendToFrame("con", {type: "notice", seconds: seconds});
    announce(noticeText);
}

function hideNotice() {
    if (hub.noticeTimer !== null)
        clearTimeout(hub.noticeTimer);
    hub.noticeTimer = null;
    if (hub.noticeShown)
        sendToFrame("con", {type: "notice", seconds: 0});
    hub.noticeShown = false;
}

// ---- The visitor's view: text size and high contrast, kept for the visit
// (so every page opened shows them) and forgotten at the idle return.

var viewKey = "kiosk.view";
var textScales = [1, 1.5, 2];

function cleanView(view) {
    var scale = view ? Number(view.textScale) : 1;
    return {textScale: textScales.indexOf(scale) >= 0 ? scale : 1, contrast: !!(view && view.contrast)};
}

function hubView() {
    if (!hub.view) {
        try {
            hub.view = cleanView(JSON.parse(window.sessionStorage.getItem(viewKey) || "null"));
        } catch (e) {
            hub.view = cleanView(null);
        }
    }
    return hub.view;
}

// Keeps the view for the visit and shows it in both frames (not when quiet).
function setView(view, quiet) {
    hub.view = cleanView(view);
    try {
        if (view)
            window.sessionStorage.setItem(viewKey, JSON.stringify(hub.view));
        else
            window.sessionStorage.removeItem(viewKey);
    } catch (e) {
    }
    if (quiet)
        return;
    sendToFrame("con", {type: "view", view: hub.view});
    sendToFrame("nav", {type: "view", view: hub.view});
}

// ---- Speech for visitors who cannot see the screen: switched on and off by
// a long press anywhere (speechHoldMs) or the keypad's * key, as the sign in
// the content's corner says. While it is on, a touch speaks what is under the
// finger and a second touch on it at once (a double tap) activates it; a page
// speaks its title and buttons when it opens, the key focus what it reaches.
// zel-kiosk speaks through the desktop's speech service (it sets
// zelKioskSpeech and hears the console); a browser through its own speech
// synthesis where it has one. It is off again at the idle return.

var speechKey = "kiosk.speech";
var speechHoldMs = 2000;

function hubSpeech() {
    if (hub.speech === null) {
        try {
            hub.speech = window.sessionStorage.getItem(speechKey) === "on";
        } catch (e) {
            hub.speech = false;
        }
    }
    return hub.speech;
}

function setSpeech(on, quiet) {
    var was = hubSpeech();
    if (was && !on)
        hubSay("Speech off", true);
    hub.speech = on;
    try {
        if (on)
            window.sessionStorage.setItem(speechKey, "on");
        else
            window.sessionStorage.removeItem(speechKey);
    } catch (e) {
    }
    if (!quiet) {
        sendToFrame("con", {type: "speech", on: on});
        sendToFrame("nav", {type: "speech", on: on});
    }
    if (on && !was) {
        hubSay("Speech on. Touch to hear, touch twice to press.", true);
        sayPage(true);
    } else if (!on) {
        stopSpeaking();
    }
}

// The page's title and its buttons, in order.
function sayPage(queued) {
    if (!hub.captions)
        return;
    var text = pageTitle();
    if (hub.captions.length > 0)
        text += ". Buttons: " + hub.captions.join(", ");
    hubSay(text, queued);
}

// Speaks the text, interrupting what is still being said unless queued.
function hubSay(text, queued) {
    text = String(text || "").replace(/\s+/g, " ").trim();
    if (!text || !hubSpeech())
        return;
    try {
        var language = document.documentElement.getAttribute("lang") || "en";
        if (window.zelKioskSpeech) {
            console.info("zel-kiosk-say:" + (queued ? "+" : "") + language + " " + text);
            return;
        }
        var synthesis = window.speechSynthesis;
        if (!synthesis || typeof window.SpeechSynthesisUtterance !== "function")
            return;
        if (!queued)
            synthesis.cancel();
        var utterance = new window.SpeechSynthesisUtterance(text);
        utterance.lang = language;
        synthesis.speak(utterance);
    } catch (e) {
    }
}

function stopSpeaking() {
    try {
        if (window.zelKioskSpeech)
            console.info("zel-kiosk-say:");
        else if (window.speechSynthesis)
            window.speechSynthesis.cancel();
    } catch (e) {
    }
}

// ---- Keys (a keyboard or a keypad): Up and Down move the focus through the
// places of one frame, Left goes to the content's links and the visitor's
// buttons, Right to the navigation buttons, Enter activates what has the
// focus, Backspace or Escape is Back. The first key shows where the focus is.

function hubKey(name, from) {
    if (name === "back") {
        hubGoBack();
        return;
    }
    if (name === "speech") {
        setSpeech(!hubSpeech());
        return;
    }
    var side = hub.keyFrame;
    if (!side) {
        side = hub.keyTargets.nav > 0 || !hub.keyTargets.con ? "nav" : "con";
        if (name === "left" && hub.keyTargets.con > 0)
            side = "con";
        hub.keyFrame = side;
        sendToFrame(side, {type: "keyFocus", move: "first"});
        return;
    }
    if (name === "left" || name === "right") {
        var other = name === "left" ? "con" : "nav";
        if (other === side || !(hub.keyTargets[other] > 0))
            return;
        sendToFrame(side, {type: "keyFocus", move: "none"});
        hub.keyFrame = other;
        sendToFrame(other, {type: "keyFocus", move: "first"});
        return;
    }
    sendToFrame(side, {type: "keyFocus", move: name === "enter" ? "activate" : name === "up" ? "previous" : "next"});
}

// Frames get names for screen readers; the size goes to both frames again
// whenever the window changes size.
function labelFrames() {
    var labels = {con: "Content", nav: "Buttons"};
    for (var name in labels) {
        var element = frameElementNamed(name);
        if (element && !element.getAttribute("title"))
            element.setAttribute("title", labels[name]);
    }
    if (!document.documentElement.getAttribute("lang"))
        document.documentElement.setAttribute("lang", "en");
}

function hubResized() {
    var screen = hubScreen();
    if (hub.screen && hub.screen.width === screen.width && hub.screen.height === screen.height)
        return;
    hub.screen = screen;
    for (var name in hub.frames)
        sendToFrame(name, {type: "screen", screen: screen});
}

function startHub() {
    hub.screen = hubScreen();
    window.addEventListener("resize", hubResized);
    window.addEventListener("pageshow", function (event) {
        // Shown again from the browser's cache: the idle time starts afresh.
        stopLeaving();
        if (event.persisted) {
            clockTick(true);
            noteTouch();
        }
    });
    startClock();
    noteTouch();
}

// ======== The frames ========

var frame = {
    setup: null,         // the hub's answer to hello
    screen: null,
    selectBox: null,
    parsed: false,       // the document is parsed: messages are handled
    early: [],           // messages that came before, in order
    ready: false
};

// The frame says hello as soon as its script runs, so that the hub's answer
// is there when the document has been parsed; what comes before is handled
// then, in order.
function frameReceive(message) {
    if (!frame.parsed) {
        frame.early.push(message);
        return;
    }
    switch (message.type) {
    case "setup":
        frame.setup = message;
        frame.screen = message.screen;
        prepareFrame();
        break;
    case "screen":
        frame.screen = message.screen;
        if (frame.ready)
            refitFrame();
        break;
    case "command":
        runCommand(String(message.name || ""));
        break;
    case "scrollState":
        showScrollState(message.state);
        break;
    case "selectBox":
        frame.selectBox = message.box;
        if (frame.ready && itemTable())
            showRow(currentRow());
        break;
    case "reset":
        resetContent();
        break;
    case "notice":
        showNoticeBox(Number(message.seconds) || 0);
        break;
    case "view":
        if (frame.setup)
            frame.setup.view = message.view;
        if (frame.ready)
            refitFrame();
        break;
    case "keyFocus":
        moveKeyFocus(String(message.move || ""));
        break;
    case "clock":
        frameClock(message.clock);
        break;
    case "speech":
        if (frame.setup)
            frame.setup.speech = !!message.on;
        lastSpoken = {node: null, time: 0};
        if (window.name === "con")
            showViewControls();
        break;
    }
}

// ---- Reach: where the made page names the screen's height on the wall and
// the height of its lower edge above the floor (in mm), every touch target
// stays between these heights, where a visitor in a wheelchair reaches it:
// the navigation column moves (and where it must, shrinks) into that band,
// the visitor's buttons stand in it, and a selector shows only the rows
// within it. ZEL_Editor's kiosk check judges the layout by the same numbers.

var lowestReachMm = 380;
var highestReachMm = 1220;
var smallestTargetPixels = 44;
var smallestTargetMm = 9;

// The shared missing page names no numbers: it keeps those of the pages of
// the visit (kept by every page that names them, forgotten by one that does not).
var reachKey = "kiosk.reach";

function hubReach() {
    var meta = document.querySelector("meta[name='kiosk-reach']");
    var text = meta ? String(meta.getAttribute("content") || "") : "";
    try {
        if (meta)
            window.sessionStorage.setItem(reachKey, text);
        else if (/\/missing\.html?$/i.test(window.location.pathname || ""))
            text = window.sessionStorage.getItem(reachKey) || "";
        else
            window.sessionStorage.removeItem(reachKey);
    } catch (e) {
    }
    var numbers = text.trim().split(/\s+/).map(Number);
    if (numbers.length !== 2 || !(numbers[0] > 0) || !(numbers[1] > 0))
        return null;
    return {screenMm: numbers[0], bottomMm: numbers[1]};
}

// The band within reach, in CSS pixels from the screen's top (where both
// frames start), and the millimetres of one pixel; null without the numbers.
function reachBand() {
    var reach = frame.setup ? frame.setup.reach : null;
    var height = frame.screen ? frame.screen.height : 0;
    if (!reach || !(height > 0))
        return null;
    var at = function (mm) {
        return Math.max(0, Math.min(height, height * (1 - (mm - reach.bottomMm) / reach.screenMm)));
    };
    return {top: at(highestReachMm), bottom: at(lowestReachMm), height: height, pixelMm: reach.screenMm / height};
}

// The column's rows keep the heights written into the page where the band
// holds them; else they shrink to fit it, each button no smaller than a
// fingertip, and a column still taller stands in the middle of the band.
function placeColumnInReach() {
    var table = document.querySelector("table.nav");
    var band = reachBand();
    if (!table || !band)
        return;
    document.body.classList.add("reach");
    var cells = [], written = 0, rowHeight = 0, gap = 10;
    for (var r = 0; r < table.rows.length; ++r) {
        var cell = table.rows[r].cells[0];
        if (!cell)
            continue;
        // Pixels as the maker writes them; a share of the column (the missing page's) as drawn.
        var attribute = String(cell.getAttribute("height") || "");
        var height = /^\s*\d+\s*$/.test(attribute) ? parseInt(attribute, 10) : cell.offsetHeight;
        cells.push({cell: cell, height: height});
        written += height;
        rowHeight = rowHeight ? Math.min(rowHeight, height) : height;
        var link = cell.querySelector("a.nav");
        if (link && link.offsetHeight && cell.offsetHeight > link.offsetHeight)
            gap = cell.offsetHeight - link.offsetHeight;
    }
    var room = band.bottom - band.top;
    var least = Math.max(smallestTargetPixels, smallestTargetMm / band.pixelMm) + gap;
    var scale = written <= room || !rowHeight ? 1 : Math.min(1, Math.max(room / written, least / rowHeight));
    var total = 0;
    for (var c = 0; c < cells.length; ++c) {
        var scaled = Math.floor(cells[c].height * scale);
        cells[c].cell.style.height = scaled + "px";
        total += scaled;
    }
    var top = total <= room ? band.top : band.top - (total - room) / 2;
    table.style.height = "auto";
    table.style.marginTop = Math.round(Math.max(0, Math.min(band.height - total, top))) + "px";
}

// On a selector, the current row stays within the band and the rows outside
// it are not shown (nor touched). The rows' boxes are those measured before
// the table moved to the top given; returns the table's top.
function keepRowsInReach(rows, boxes, row, top, moved) {
    var band = reachBand();
    if (!band)
        return top;
    var box = boxes[row];
    var shift = box.bottom + moved > band.bottom ? band.bottom - box.bottom - moved : 0;
    if (box.top + moved + shift < band.top)
        shift = band.top - box.top - moved;
    var placed = Math.round(top + shift);
    moved += placed - top;
    for (var i = 0; i < rows.length; ++i) {
        var inside = i === row || (boxes[i].top + moved >= band.top - 0.5 && boxes[i].bottom + moved <= band.bottom + 0.5);
        rows[i].style.visibility = inside ? "" : "hidden";
    }
    return placed;
}

// Links of the author's in root, branch and leaf content: the content starts
// low enough for the first of them to stand in the band, and can be scrolled
// far enough for the last to come up into it (root and branch content then
// scrolls instead of being drawn smaller). True when the content was moved.
function placeLinksInReach() {
    var body = document.body;
    body.style.paddingTop = "";
    body.style.paddingBottom = "";
    var band = reachBand();
    if (!band)
        return false;
    var links = body.querySelectorAll("a[href]");
    var offset = window.pageYOffset || 0, highest = Infinity, lowest = -Infinity;
    for (var i = 0; i < links.length; ++i) {
        var box = links[i].getBoundingClientRect();
        if (box.height <= 0 || links[i].closest(".viewControls, #kioskNotice"))
            continue;
        highest = Math.min(highest, box.top + offset);
        lowest = Math.max(lowest, box.bottom + offset);
    }
    if (highest === Infinity)
        return false;
    var down = Math.max(0, Math.ceil(band.top - highest));
    if (down > 0)
        body.style.paddingTop = down + "px";
    if (lowest + down > band.bottom)
        body.style.paddingBottom = Math.ceil(band.height - band.bottom) + "px";
    return down > 0 || lowest + down > band.bottom;
}

// ---- Sizes follow the screen: the root font size is the one the style sheet
// gives the pages (its "html" rule), drawn for the design screen below,
// scaled by the smaller of the two ratios of the screen the frameset fills,
// so every screen shows the same kiosk. ZEL_Editor's kiosk check draws the
// pages with the same design numbers.

var designScreenWidth = 1280;
var designScreenHeight = 1024;
var smallestRootFontSize = 11;

// Read from the style sheet once, before the script sets a size of its own.
var designFontSize = 0;

function styledFontSize() {
    if (!designFontSize)
        designFontSize = pixels(window.getComputedStyle(document.documentElement, null).fontSize);
    return designFontSize;
}

function screenScale() {
    var screen = isHub() ? hubScreen() : frame.screen;
    if (screen && screen.width > 0 && screen.height > 0)
        return Math.min(screen.width / designScreenWidth, screen.height / designScreenHeight);
    return 1;
}

// The visitor's text size (1 to 2) and contrast, as the hub last sent them.
function frameView() {
    if (isHub())
        return hubView();
    return cleanView(frame.setup ? frame.setup.view : null);
}

// The browser's own zoom (Ctrl and +, a visitor's or an operator's setting):
// the window is then narrower in CSS pixels than on the screen, and sizing
// the type from it alone would cancel the zoom. Where the browser tells no
// outer size, there is none to respect.
var zoomDuringFit = 0; // read once for a whole refit (0: read each time)

function browserZoom() {
    if (zoomDuringFit)
        return zoomDuringFit;
    try {
        var top = kioskTop();
        var outer = top.outerWidth || 0, inner = top.innerWidth || 0;
        if (outer <= 0 || inner <= 0 || outer < inner * 1.05)
            return 1;
        return Math.min(5, outer / inner);
    } catch (e) {
        return 1;
    }
}

function baseFontSize() {
    return Math.max(smallestRootFontSize, Math.round(styledFontSize() * screenScale() * browserZoom()));
}

function rootFontSize() {
    return Math.round(baseFontSize() * frameView().textScale);
}

function applyFontSize() {
    try {
        var root = document.documentElement;
        root.style.fontSize = rootFontSize() + "px";
        root.classList.toggle("contrast", frameView().contrast);
        root.classList.toggle("enlarged", frameView().textScale > 1);
    } catch (e) {
    }
}

// ---- Commands of the navigation links, in whichever window they are called.

function runCommand(name) {
    if (!isHub() && window.name !== "con")
        return;
    var run = {
        init: contentInit, scrollup: function () { scrollContent(-1); }, scrolldown: function () { scrollContent(1); },
        select: selectCurrent, pageup: function () { moveRow(-rowsPerScreen()); }, rowup: function () { moveRow(-1); },
        rowdown: function () { moveRow(1); }, pagedown: function () { moveRow(rowsPerScreen()); }
    }[name];
    try {
        if (run && frame.ready)
            run();
    } catch (e) {
    }
}

// Called in the frameset it asks the content frame; in the navigation frame
// it asks the hub; in the content frame it does the work.
function command(name) {
    if (window.name === "con" && !isHub())
        runCommand(name);
    else
        postToHub({type: "command", name: name});
}

function init() { command("init"); }
function scrollup() { command("scrollup"); }
function scrolldown() { command("scrolldown"); }
function select() { command("select"); }
function pageup() { command("pageup"); }
function rowup() { command("rowup"); }
function rowdown() { command("rowdown"); }
function pagedown() { command("pagedown"); }

function goBack() {
    if (isHub())
        hubGoBack();
    else
        postToHub({type: "command", name: "goBack"});
}

// ---- Leaf pages (and root and branch content too tall to show whole): Up
// and Down scroll the content by its visible height less one line, so the
// last line of a screen is the first line of the next. At an end the button
// that would scroll further looks disabled.

function lineHeightOf(doc) {
    try {
        var style = doc.defaultView.getComputedStyle(doc.body, null);
        var height = parseFloat(style.lineHeight);
        if (!isNaN(height) && height > 0)
            return height;
        var size = parseFloat(style.fontSize);
        if (!isNaN(size) && size > 0)
            return size * 1.4;
    } catch (e) {
    }
    return 40;
}

// What scrolls: the page, or the body when tall root or branch content
// scrolls inside the frame.
function scroller() {
    if (document.body && document.body.classList.contains("scrolls"))
        return document.body;
    return document.scrollingElement || document.documentElement;
}

function scrollContent(direction) {
    if (!document.body)
        return;
    var box = scroller();
    var visible = box === document.body ? box.clientHeight : (window.innerHeight || 0);
    var step = Math.max(1, Math.floor(visible - lineHeightOf(document)));
    // scrollBy stops at either end by itself.
    if (box === document.body)
        box.scrollTop += direction * step;
    else
        window.scrollBy(0, direction * step);
    reportScrollState();
}

// For Up and Down (and a selector's row buttons): whether the content is at
// its top or end; a selector is at the ends on its first or last row, at both
// with one row or none.
function reportScrollState() {
    try {
        if (itemTable()) {
            var row = currentRow(), last = itemRows().length - 1;
            postToHub({type: "scrollState", state: {atTop: row <= 0, atEnd: row >= last}});
            return;
        }
        var box = scroller();
        if (!box)
            return;
        var y = box.scrollTop || 0;
        var end = box.scrollHeight - box.clientHeight;
        postToHub({type: "scrollState", state: {atTop: y <= 0, atEnd: y >= end - 1}});
    } catch (e) {
    }
}

// The idle return on the page already shown: the first row, and the top of
// whatever scrolls (the page, or the body of tall root or branch content),
// so the next visitor sees the title.
function resetContent() {
    window.scrollTo(0, 0);
    if (document.body)
        document.body.scrollTop = 0;
    if (itemTable())
        showRow(0);
    reportScrollState();
}

function navigationLinks(href) {
    var found = [];
    var links = document.getElementsByTagName("a");
    for (var i = 0; i < links.length; ++i)
        if (links[i].getAttribute("href") === href)
            found.push(links[i]);
    return found;
}

function markDisabled(links, disabled) {
    for (var i = 0; i < links.length; ++i) {
        links[i].classList.toggle("disabled", disabled);
        links[i].setAttribute("aria-disabled", disabled ? "true" : "false");
    }
}

function showScrollState(state) {
    if (!state || window.name !== "nav")
        return;
    var ends = {scrollup: state.atTop, pageup: state.atTop, rowup: state.atTop,
                scrolldown: state.atEnd, rowdown: state.atEnd, pagedown: state.atEnd};
    for (var name in ends)
        markDisabled(navigationLinks("javascript:" + name + "()"), !!ends[name]);
}

// ---- Selector pages: the item table "sTable" is moved up and down so that
// the current row stands beside the double-height Select button; the current
// row's number is kept in the hidden field "row".

function itemTable() {
    return document.getElementById("sTable");
}

function rowField() {
    var fields = document.getElementsByName("row");
    return fields.length > 0 ? fields[0] : null;
}

// The rows shown: those to pages off show are hidden.
function itemRows() {
    var table = itemTable();
    var rows = [];
    if (table && table.rows)
        for (var i = 0; i < table.rows.length; ++i)
            if (table.rows[i].style.display !== "none")
                rows.push(table.rows[i]);
    return rows;
}

function currentRow() {
    var field = rowField();
    var row = field ? parseInt(field.value, 10) : 0;
    return isNaN(row) ? 0 : row;
}

// The table's place as the page wrote it: one button row below the top, the
// top of the Select button.
function firstTableTop(table) {
    if (table.getAttribute("data-first-top") === null)
        table.setAttribute("data-first-top", String(parseInt(table.style.top, 10) || 0));
    return parseInt(table.getAttribute("data-first-top"), 10);
}

// The top of the Select button's cell as the navigation column reported it
// (both frames start at the top of the screen); until then the table's first
// place as written, which is the same on a screen the page was made for.
function selectButtonTop(table) {
    if (frame.selectBox && frame.selectBox.top >= 0)
        return frame.selectBox.top;
    return firstTableTop(table);
}

function markRow(rows, row) {
    for (var i = 0; i < rows.length; ++i) {
        rows[i].className = (i === row) ? "current" : "";
        rows[i].setAttribute("aria-selected", i === row ? "true" : "false");
    }
}

// The rows are measured where they stand and then moved all at once: the
// page is laid out for the measuring only, not again after each move.
function showRow(row) {
    var table = itemTable();
    var rows = itemRows();
    if (!table || rows.length === 0) {
        reportScrollState();
        return;
    }
    row = Math.max(0, Math.min(rows.length - 1, row));
    markRow(rows, row);
    fitRowsNear(row);
    var band = reachBand(), boxes = [];
    for (var i = 0; i < rows.length; ++i)
        if (band || i === row)
            boxes[i] = rows[i].getBoundingClientRect();
    var last = row + rowsPerScreen() + 1;
    var top = parseFloat(table.style.top) || 0;
    var placed = Math.round(top + selectButtonTop(table) - boxes[row].top);
    placed = keepRowsInReach(rows, boxes, row, placed, placed - top);
    table.style.top = placed + "px";
    loadRowPictures(rows, row, last);
    var field = rowField();
    if (field)
        field.value = String(row);
    postToHub({type: "row", row: row});
    reportScrollState();
}

// The pictures of rows below a selector's first screen are made to load
// lazily, so that they do not hold up its first paint: those of the rows
// shown load at once, the others once the page has been drawn.
function loadRowPictures(rows, row, last) {
    last = Math.min(rows.length, last);
    for (var i = Math.max(0, row - 1); i < last; ++i) {
        var pictures = rows[i].getElementsByTagName("img");
        for (var p = 0; p < pictures.length; ++p)
            if (pictures[p].getAttribute("loading") === "lazy")
                pictures[p].setAttribute("loading", "eager");
    }
}

// Once the page is drawn: the rows left out of it fitted and shown, and
// every picture loaded (the pictures of the first screen come first).
function completeSelectorLater() {
    requestAnimationFrame(function () {
        requestAnimationFrame(function () {
            setTimeout(function () {
                var table = itemTable();
                if (!table)
                    return;
                prepareRows(table.rows);
                fitRowsNear(currentRow(), true);
                showRow(currentRow());
                loadRowPictures(table.rows, 0, table.rows.length);
            }, 100);
        });
    });
}

function moveRow(by) {
    showRow(currentRow() + by);
}

// Rows that fit on the screen from the Select button down.
function rowsPerScreen() {
    var table = itemTable();
    var rows = itemRows();
    if (!table || rows.length === 0)
        return 1;
    var height = rows[Math.max(0, Math.min(rows.length - 1, currentRow()))].getBoundingClientRect().height || 1;
    var band = reachBand();
    var room = (band ? band.bottom : window.innerHeight || 0) - selectButtonTop(table);
    return Math.max(1, Math.floor(room / height));
}

function contentInit() {
    var setup = frame.setup || {};
    showRow(setup.fromHistory ? setup.rememberedRow : 0);
}

// The address of a row's page; "" when the row has none (an item the maker
// could not read leaves its link empty).
function rowAddress(row) {
    var links = row ? row.getElementsByTagName("a") : [];
    if (links.length === 0)
        return "";
    var written = links[0].getAttribute("href");
    if (!written || !written.trim())
        return "";
    return links[0].href;
}

// Opens the current row's page in the whole window.
function selectCurrent() {
    var rows = itemRows();
    var row = currentRow();
    if (row < 0 || row >= rows.length)
        return;
    var address = rowAddress(rows[row]);
    if (address)
        postToHub({type: "navigate", href: address});
}

// A touch anywhere on a row (picture, text or the space between) opens that
// row's page in the whole window, as Select does for the current row.
function rowTouched(event) {
    try {
        var node = event.target;
        while (node && node.nodeName !== "TR")
            node = node.parentNode;
        var rows = itemRows();
        var row = Array.prototype.indexOf.call(rows, node);
        if (row < 0)
            return;
        event.preventDefault();
        showRow(row);
        selectCurrent();
    } catch (e) {
    }
}

// Shrinks the font of each block from its size as styled until it is at
// most the given height, never below the smallest size; then a block still
// taller shows only the whole lines that fit, the last one ending in an
// ellipsis. The blocks take each step together (their heights do not depend
// on each other), so the page is laid out once a step, not once a block.
function fitBlocks(blocks, height, smallest) {
    var view = window, fits = [];
    for (var b = 0; b < blocks.length; ++b)
        blocks[b].style.fontSize = "";
    for (var f = 0; f < blocks.length; ++f)
        fits.push({block: blocks[f], size: pixels(view.getComputedStyle(blocks[f], null).fontSize)});
    var shrinking = fits;
    while (shrinking.length > 0) {
        shrinking = shrinking.filter(function (fit) { return fit.block.offsetHeight > height && fit.size > smallest; });
        for (var s = 0; s < shrinking.length; ++s) {
            shrinking[s].size -= 1;
            shrinking[s].block.style.fontSize = shrinking[s].size + "px";
        }
    }
    for (var r = 0; r < fits.length; ++r) {
        var style = fits[r].block.style;
        style.display = "";
        style.webkitLineClamp = "";
        style.maxHeight = "";
    }
    var tall = fits.filter(function (fit) { return fit.block.offsetHeight > height; });
    for (var t = 0; t < tall.length; ++t)
        tall[t].line = pixels(view.getComputedStyle(tall[t].block, null).lineHeight) || 1;
    for (var c = 0; c < tall.length; ++c) {
        var clamped = tall[c].block.style;
        clamped.display = "-webkit-box";
        clamped.webkitBoxOrient = "vertical";
        clamped.webkitLineClamp = String(Math.max(1, Math.floor(height / tall[c].line)));
        clamped.maxHeight = height + "px";
    }
}

// Once per selector page: rows take touches, and the table is a list box
// for screen readers whose options are the rows (its own structure hidden,
// or the rows would not count as its options); then the item texts are
// fitted. A row is prepared (prepareRow) as it is fitted, or all at once
// where the page writes no row heights.
function prepareSelector() {
    var table = itemTable();
    if (!table)
        return;
    if (table.getAttribute("data-prepared") === null) {
        table.setAttribute("data-prepared", "1");
        firstTableTop(table);
        document.body.classList.add("selector");
        table.setAttribute("role", "listbox");
        table.setAttribute("aria-label", "Items");
        for (var b = 0; b < table.tBodies.length; ++b)
            table.tBodies[b].setAttribute("role", "none");
        if (writtenRowHeight(table) <= 0)
            prepareRows(table.rows);
        table.addEventListener("click", rowTouched);
    }
    // Marked before the fitting measures, so that the page is laid out once.
    markRow(itemRows(), currentRow());
    fitSelector();
}

// A row's links open in the whole window and are no places of their own
// (the row is the option), and the row is named by its text.
function prepareRow(row) {
    if (row.getAttribute("role") === "option")
        return;
    var links = row.getElementsByTagName("a");
    for (var i = 0; i < links.length; ++i) {
        links[i].setAttribute("target", "_top");
        links[i].setAttribute("tabindex", "-1");
        links[i].setAttribute("aria-hidden", "true");
        links[i].setAttribute("inert", "");
    }
    nameRow(row, row.rowIndex);
}

function prepareRows(rows) {
    for (var r = 0; r < rows.length; ++r)
        prepareRow(rows[r]);
}

// A row's text as a screen reader should hear it: its words, a line break
// between two words as a blank. Read from the document, not from the drawn
// page, which needs no layout.
function spokenText(node) {
    if (node.nodeType === 3)
        return node.nodeValue;
    if (node.nodeName === "BR")
        return " ";
    var text = "";
    for (var child = node.firstChild; child; child = child.nextSibling)
        text += spokenText(child);
    return /^(P|DIV|TD|LI|H[1-6])$/.test(node.nodeName) ? " " + text + " " : text;
}

function nameRow(row, index) {
    row.setAttribute("role", "option");
    for (var c = 0; c < row.cells.length; ++c)
        row.cells[c].setAttribute("role", "none");
    var text = spokenText(row).replace(/\s+/g, " ").trim();
    row.setAttribute("aria-label", text || "Item " + (index + 1));
}

// Item texts fit their rows; the title stands on one line in its own band
// above the Select button's height, so it never covers the current row.
function fitSelector() {
    var table = itemTable();
    var band = firstTableTop(table);
    var titles = document.querySelectorAll("p.title");
    for (var k = 0; k < titles.length && band > 0; ++k) {
        titles[k].style.height = band + "px";
        titles[k].style.lineHeight = band + "px";
        titles[k].style.fontSize = Math.min(1.6 * rootFontSize(), Math.floor(band * 0.5)) + "px";
    }
    if (writtenRowHeight(table) <= 0)
        return;
    for (var r = 0; r < table.rows.length; ++r)
        table.rows[r].setAttribute("data-later", "");
    fitRowsNear(currentRow());
    completeSelectorLater();
}

function writtenRowHeight(table) {
    var height = 0;
    for (var r = 0; r < table.rows.length; ++r)
        height = Math.max(height, parseInt(table.rows[r].cells[0].getAttribute("height"), 10) || 0);
    return height;
}

// Only the rows a screen above and below the current one are fitted (all
// with "all"); the others keep "data-later", and the style sheet leaves them
// out of the page until they are.
function fitRowsNear(row, all) {
    var table = itemTable(), rows = itemRows();
    var height = table ? writtenRowHeight(table) : 0;
    if (height <= 0)
        return;
    var near = all ? rows.length : Math.ceil((window.innerHeight || 0) / height) + 1, blocks = [];
    for (var i = Math.max(0, row - near); i < Math.min(rows.length, row + near + 1); ++i) {
        if (rows[i].getAttribute("data-later") === null)
            continue;
        prepareRow(rows[i]);
        rows[i].removeAttribute("data-later");
        blocks.push.apply(blocks, rows[i].getElementsByTagName("p"));
    }
    if (blocks.length > 0)
        fitBlocks(blocks, height - 8, rootFontSize() * 0.6);
}

// ---- Root and branch content: the frame does not scroll. Content taller
// than the frame is drawn scaled down, as little as needed for all of it to be
// seen; where that would take it below a readable size, it keeps that size
// and the visitor scrolls it by touch instead.

var smallestReadableScale = 0.7;

function fitTallContent(scrolls) {
    var view = window, body = document.body, root = document.documentElement;
    var page = document.scrollingElement || root;
    if (!body || view.innerHeight <= 0)
        return;
    var fits = function (scale) {
        // The page is as high as the frame; only the drawn body may reach beyond.
        root.style.height = "100%";
        body.style.transformOrigin = "0 0";
        body.style.transform = "scale(" + scale + ")";
        body.style.width = (root.clientWidth / scale) + "px";
        return page.scrollHeight <= view.innerHeight + 1;
    };
    unfitTallContent();
    if (page.scrollHeight <= view.innerHeight + 1)
        return;
    // Text the visitor enlarged is never drawn smaller again: it scrolls.
    if (scrolls || frameView().textScale > 1 || !fits(smallestReadableScale)) {
        unfitTallContent();
        root.classList.add("scrolls");
        body.classList.add("scrolls");
        body.addEventListener("scroll", reportScrollState);
        return;
    }
    var low = smallestReadableScale, high = 1;
    for (var i = 0; i < 8; ++i) {
        var middle = (low + high) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle;
    }
    fits(low);
}

function unfitTallContent() {
    document.documentElement.style.height = "";
    document.documentElement.classList.remove("scrolls");
    document.body.style.transform = "";
    document.body.style.width = "";
    document.body.classList.remove("scrolls");
}

// Whatever an author's HTML makes wider than the column (a table with fixed
// widths, a wide picture, preformatted text) is drawn scaled down to the
// column's width, its left margin kept on the right too, the room it leaves
// below taken back; where that would make it unreadable, it keeps a readable
// size and scrolls sideways in its own box by a swipe.
function fitWideContent() {
    var body = document.body;
    if (!body)
        return;
    var width = document.documentElement.clientWidth;
    for (var child = body.firstElementChild; child; child = child.nextElementSibling) {
        if (child.getAttribute("data-scaled") !== null) {
            child.style.transform = "";
            child.style.marginBottom = "";
            child.removeAttribute("data-scaled");
        }
        if (child.classList.contains("wide"))
            child.removeAttribute("tabindex");
        child.classList.remove("wide");
        var box = child.getBoundingClientRect();
        if (box.width <= 0 || box.left >= width)
            continue;
        // Content wider than its own box (long lines in a box the style sheet
        // keeps to the column) can only scroll in it.
        var overflows = child.scrollWidth > child.clientWidth + 1 && getComputedStyle(child, null).overflowX === "visible";
        if (box.right <= width + 1 && !overflows)
            continue;
        var left = Math.max(0, box.left);
        var scale = (width - 2 * left) / box.width;
        if (overflows || scale < smallestReadableScale) {
            child.classList.add("wide");
            // A keyboard reaches it too (and scrolls it with its own arrows).
            child.setAttribute("tabindex", "0");
            continue;
        }
        var below = pixels(getComputedStyle(child, null).marginBottom);
        child.setAttribute("data-scaled", "1");
        child.style.transformOrigin = "0 0";
        child.style.transform = "scale(" + scale + ")";
        child.style.marginBottom = (below - box.height * (1 - scale)) + "px";
    }
}

function contentKind() {
    if (itemTable())
        return "selector";
    if (frame.setup && frame.setup.scrolling === "yes")
        return "leaf";
    return "branch";
}

function fitContent() {
    var kind = contentKind();
    if (kind === "selector") {
        prepareSelector();
        return;
    }
    document.body.classList.add(kind);
    unfitTallContent();
    fitWideContent();
    var moved = placeLinksInReach();
    if (kind !== "leaf")
        fitTallContent(moved);
    reportScrollState();
}

// ---- Pictures that fail to load are hidden; a selector row keeps its
// height (written into its cell).

function hidePicture(picture) {
    if (picture && picture.nodeName === "IMG" && !picture.classList.contains("failed")) {
        picture.classList.add("failed");
        picture.setAttribute("aria-hidden", "true");
    }
}

document.addEventListener("error", function (event) {
    try {
        hidePicture(event.target);
    } catch (e) {
    }
}, true);

function hideFailedPictures() {
    var pictures = document.images || [];
    for (var i = 0; i < pictures.length; ++i)
        if (pictures[i].complete && pictures[i].naturalWidth === 0 && pictures[i].getAttribute("src"))
            hidePicture(pictures[i]);
}

// ---- Navigation captions: each fits its own button, at most three lines,
// broken only between words or at a hyphen inside a long word, and as large
// as that allows, but never below a readable size: what still does not fit
// is shortened with an ellipsis.

var captionLines = 3;

// Places where a long word may be hyphenated: between a small and a capital
// letter, and before a consonant that starts a syllable; at least three
// letters stay on either side.
function hyphenated(word) {
    if (word.length < 7)
        return word;
    var vowel = /[aeiouy\u00e0-\u00ff]/i, letter = /[A-Za-z\u00c0-\u00ff]/;
    var out = word.charAt(0);
    for (var i = 1; i < word.length; ++i) {
        var before = word.charAt(i - 1), here = word.charAt(i), after = word.charAt(i + 1);
        var camel = /[a-z]/.test(before) && /[A-Z]/.test(here);
        var syllable = letter.test(here) && !vowel.test(here) && vowel.test(after)
                       && (vowel.test(before) || (letter.test(before) && !vowel.test(before) && vowel.test(word.charAt(i - 2))));
        if ((camel || syllable) && i >= 3 && word.length - i >= 3)
            out += "\u00ad";
        out += here;
    }
    return out;
}

function hyphenateText(node) {
    if (node.nodeType === 3) {
        node.nodeValue = node.nodeValue.replace(/[^\s\u00ad]+/g, hyphenated);
        return;
    }
    for (var child = node.firstChild; child; child = child.nextSibling)
        hyphenateText(child);
}

function captionOf(link) {
    var span = link.querySelector("span.caption");
    if (!span) {
        span = link.ownerDocument.createElement("span");
        span.className = "caption";
        while (link.firstChild)
            span.appendChild(link.firstChild);
        link.appendChild(span);
        span.setAttribute("data-words", span.innerHTML);
    }
    return span;
}

// The room for a caption in its button, read once: the button's size does
// not change with the caption's.
function captionRoom(link) {
    var style = getComputedStyle(link, null);
    return {width: link.clientWidth - pixels(style.paddingLeft) - pixels(style.paddingRight),
            height: link.clientHeight - 6, font: style.fontStyle + " " + style.fontWeight + " ",
            family: style.fontFamily};
}

// Words measured on a canvas, which lays out nothing: their width at a size
// is that at one size, scaled.
var wordCanvas = null;

function wordWidths(words, room, size) {
    if (!wordCanvas)
        wordCanvas = document.createElement("canvas").getContext("2d");
    wordCanvas.font = room.font + size + "px " + room.family;
    return words.map(function (word) { return wordCanvas.measureText(word).width; });
}

// The lines a caption's pieces take across the room at a size, broken as
// the browser breaks them: at a blank, or inside a hyphenated word with a
// hyphen drawn; Infinity where a piece is wider than the room.
function linesTaken(pieces, room, scale) {
    var lines = 1, line = 0;
    for (var p = 0; p < pieces.length; ++p) {
        var piece = pieces[p], width = piece.width * scale;
        if (width > room.width)
            return Infinity;
        var joined = line + (piece.joined ? 0 : piece.blank * scale) + width;
        if (p > 0 && joined + (piece.ends ? piece.hyphen * scale : 0) > room.width) {
            ++lines;
            joined = width;
        }
        line = joined;
    }
    return lines;
}

// A caption's words as pieces that a line may end after, measured at its
// largest size: the words as written, or hyphenated.
function captionPieces(words, fit, hyphenate) {
    var parts = [];
    for (var w = 0; w < words.length; ++w) {
        var split = (hyphenate ? hyphenated(words[w]) : words[w]).split("\u00ad");
        for (var s = 0; s < split.length; ++s)
            parts.push({text: split[s], joined: s > 0, ends: s + 1 < split.length});
    }
    var widths = wordWidths(parts.map(function (part) { return part.text; }).concat([" ", "-"]), fit.room,
                            fit.sizes.largest);
    var hyphen = widths.pop(), blank = widths.pop();
    for (var p = 0; p < parts.length; ++p) {
        parts[p].width = widths[p];
        parts[p].blank = blank;
        parts[p].hyphen = hyphen;
    }
    return parts;
}

// The words of a caption measured before any try tell at which size and
// how (as written or hyphenated) it is likely to fit first; the tries start
// one size above that, in case the page draws the words a little narrower
// than the canvas, unless the words would not fit there even in a button a
// little wider; they skip the words as written where one of them is wider
// than the button, and hyphenated where hyphenation changes nothing.
function captionLimits(fit) {
    var box = fit.span.ownerDocument.createElement("span");
    box.innerHTML = fit.span.getAttribute("data-words");
    var words = box.textContent.split(/[\s\u00ad]+/).filter(function (word) { return word; });
    var largest = fit.sizes.largest, room = fit.room;
    var written = captionPieces(words, fit, false), broken = captionPieces(words, fit, true);
    var longest = Math.max.apply(null, written.map(function (piece) { return piece.width; }).concat([1]));
    var fitsAt = function (size, wider) {
        var lines = Math.min(captionLines, Math.floor(room.height / (size * 1.15)));
        var scale = size / largest, across = {width: room.width * wider};
        return linesTaken(written, across, scale) <= lines || linesTaken(broken, across, scale) <= lines;
    };
    var size = largest;
    while (size > fit.sizes.smallest && !fitsAt(size, 1))
        --size;
    fit.size = size < largest && fitsAt(size + 1, 1.04) ? size + 1 : size;
    fit.hyphenates = words.some(function (word) { return hyphenated(word) !== word; });
    fit.wordsFitAt = Math.floor(1.05 * room.width * largest / longest);
}

function captionFits(fit) {
    var span = fit.span, room = fit.room;
    var lines = span.offsetHeight / (fit.size * 1.15);
    return span.scrollWidth <= room.width + 0.5 && span.offsetWidth <= room.width + 0.5
           && span.offsetHeight <= room.height && lines <= captionLines + 0.5;
}

function captionSizes(room, root, base) {
    var largest = Math.round(Math.min(1.1 * root, room.height * 0.42));
    // The smallest readable size is that of the text as drawn, before the
    // visitor enlarges it: an enlarged caption may give way in a narrow button.
    var readable = Math.round(0.6 * 1.1 * base);
    return {largest: largest, smallest: Math.min(largest, Math.max(9, readable))};
}

// Each caption tries its sizes from the largest down, at each size first
// as written and then hyphenated, until it fits. All buttons take the same
// step together, so that the page is laid out once a step, not once for
// every try of every button.
//
// Sizes at which the words cannot fit are not tried (captionLimits), nor
// the words as written where one of them is wider than the button, nor
// hyphenated where hyphenation changes nothing.
function fitCaptions() {
    var links = document.querySelectorAll("a.nav");
    var root = rootFontSize(), base = baseFontSize();
    var fits = [];
    for (var i = 0; i < links.length; ++i) {
        if (!links[i].textContent)
            continue;
        var span = captionOf(links[i]);
        span.classList.remove("shortened");
        span.style.webkitLineClamp = "";
        span.removeAttribute("title");
        fits.push({link: links[i], span: span});
    }
    for (var f = 0; f < fits.length; ++f)
        fits[f].room = captionRoom(fits[f].link);
    fits = fits.filter(function (fit) { return fit.room.height + 6 > 0; });
    for (var l = 0; l < fits.length; ++l) {
        fits[l].sizes = captionSizes(fits[l].room, root, base);
        if (fits[l].sizes.largest >= fits[l].sizes.smallest)
            captionLimits(fits[l]);
        fits[l].hyphenated = fits[l].size > fits[l].wordsFitAt;
    }
    var trying = fits.filter(function (fit) { return fit.sizes.largest >= fit.sizes.smallest; });
    var failed = fits.filter(function (fit) { return fit.sizes.largest < fit.sizes.smallest; });
    while (trying.length > 0) {
        for (var w = 0; w < trying.length; ++w) {
            var fit = trying[w];
            fit.link.style.fontSize = fit.size + "px";
            fit.span.innerHTML = fit.span.getAttribute("data-words");
            if (fit.hyphenated)
                hyphenateText(fit.span);
        }
        var next = [];
        for (var r = 0; r < trying.length; ++r) {
            var tried = trying[r];
            if (captionFits(tried))
                continue;
            if (!tried.hyphenated && tried.hyphenates) {
                tried.hyphenated = true;
                next.push(tried);
            } else if (tried.size > tried.sizes.smallest) {
                tried.size -= 1;
                tried.hyphenated = tried.size > tried.wordsFitAt;
                next.push(tried);
            } else {
                failed.push(tried);
            }
        }
        trying = next;
    }
    // Nothing fits: the smallest readable size, words broken where they must
    // be, and as many whole lines as the button holds, the last one ending in
    // an ellipsis.
    for (var n = 0; n < failed.length; ++n) {
        var shortened = failed[n], smallest = shortened.sizes.smallest;
        var lines = Math.max(1, Math.min(captionLines, Math.floor(shortened.room.height / (smallest * 1.15))));
        shortened.link.style.fontSize = smallest + "px";
        shortened.span.innerHTML = shortened.span.getAttribute("data-words");
        shortened.span.classList.add("shortened");
        shortened.span.style.webkitLineClamp = String(lines);
    }
}

// Where the Select button stands, for the content frame to line its current
// row up with it.
function reportSelectBox() {
    var links = navigationLinks("javascript:select()");
    if (links.length === 0)
        return;
    var cell = links[0].parentNode;
    var box = (cell && cell.getBoundingClientRect) ? cell.getBoundingClientRect() : links[0].getBoundingClientRect();
    postToHub({type: "selectBox", box: {top: box.top, height: box.height}});
}

// ---- The navigation column: a touch on a button becomes a message to the
// hub. Script links name their function; page links ask the hub to open the
// page. The second id of the double-height Select button is hidden from
// screen readers.

function linkTouched(event) {
    try {
        var node = event.target;
        var link = node && node.closest ? node.closest("a[href]") : null;
        if (!link)
            return;
        var written = link.getAttribute("href") || "";
        var call = /^\s*javascript:\s*([A-Za-z]+)\s*\(\s*\)\s*;?\s*$/i.exec(written);
        if (call) {
            event.preventDefault();
            if (link.classList.contains("disabled"))
                return;
            var name = call[1];
            if (name === "goBack")
                goBack();
            else
                postToHub({type: "command", name: name});
            return;
        }
        if (/^\s*javascript:/i.test(written) || editMode())
            return;
        event.preventDefault();
        if (written.trim())
            postToHub({type: "navigate", href: link.href});
    } catch (e) {
    }
}

function prepareNavigation() {
    var table = document.querySelector("table.nav");
    if (table) {
        table.setAttribute("role", "navigation");
        table.setAttribute("aria-label", "Buttons");
    }
    var links = document.querySelectorAll("a.nav");
    for (var i = 0; i < links.length; ++i) {
        if (!links[i].textContent) {
            links[i].setAttribute("aria-hidden", "true");
            links[i].setAttribute("tabindex", "-1");
        } else {
            links[i].setAttribute("role", "button");
            if (links[i].getAttribute("href") === "javascript:select()")
                links[i].setAttribute("aria-label", "Select the item currently displayed on the left");
        }
    }
    document.addEventListener("click", linkTouched);
    var home = document.getElementById("b1");
    if (home && /root\.htm$/i.test(home.getAttribute("href") || ""))
        postToHub({type: "home", href: home.href});
}

// ---- Every window: no long-press menu, no zoom by gesture or by wheel with
// Ctrl, and every touch, click (also a button clicked by the viewer's keys),
// key or wheel turn restarts the idle time.

function hardenDocument(doc) {
    doc.addEventListener("contextmenu", function (event) { event.preventDefault(); });
    doc.addEventListener("selectstart", function (event) { event.preventDefault(); });
    doc.addEventListener("dragstart", function (event) { event.preventDefault(); });
    doc.addEventListener("gesturestart", function (event) { event.preventDefault(); });
    doc.addEventListener("wheel", function (event) { if (event.ctrlKey) event.preventDefault(); }, {passive: false});
    var touches = ["pointerdown", "touchstart", "mousedown", "click", "keydown", "wheel"];
    for (var i = 0; i < touches.length; ++i)
        doc.addEventListener(touches[i], noteTouch, {passive: true, capture: true});
    doc.addEventListener("keydown", keyPressed);
    doc.addEventListener("pointerdown", holdStarted, {passive: true, capture: true});
    doc.addEventListener("pointermove", holdMoved, {passive: true, capture: true});
    doc.addEventListener("pointerup", holdEnded, {passive: true, capture: true});
    doc.addEventListener("pointercancel", holdEnded, {passive: true, capture: true});
    window.addEventListener("click", speechTouch, true);
}

// The keys a visitor moves with, by the names the hub knows them by; a USB
// keypad's arrows and Enter send the same keys.
var visitorKeys = {ArrowUp: "up", Up: "up", ArrowDown: "down", Down: "down", ArrowLeft: "left", Left: "left",
                   ArrowRight: "right", Right: "right", Enter: "enter", Backspace: "back", Escape: "back",
                   Esc: "back", BrowserBack: "back", "*": "speech"};

function keyPressed(event) {
    try {
        var name = visitorKeys[event.key];
        if (!name || event.altKey || event.ctrlKey || event.metaKey || editMode() || !frameAllowsKeys())
            return;
        event.preventDefault();
        postToHub({type: "key", name: name});
    } catch (e) {
    }
}

// The author's viewer keeps its own keys; in a frame only once the hub answered.
function frameAllowsKeys() {
    return isHub() || (frame.setup && !frame.setup.editMode);
}

// ---- Key focus in a frame: the navigation buttons (those with a caption), or
// the content's links and the visitor's buttons. It shows as a thick outline.

var keyFocus = -1;

function keyTargets() {
    var found = [];
    var candidates = window.name === "nav" ? document.querySelectorAll("a.nav")
                                           : document.querySelectorAll("a[href], .viewControls button");
    for (var i = 0; i < candidates.length; ++i) {
        var node = candidates[i];
        if (node.getAttribute("aria-hidden") === "true" || node.classList.contains("failed") || node.closest("#sTable"))
            continue;
        if (node.nodeName === "A" && !node.textContent.trim() && !node.querySelector("img"))
            continue;
        found.push(node);
    }
    return found;
}

function moveKeyFocus(move) {
    var targets = keyTargets();
    var old = document.querySelectorAll(".keyfocus");
    for (var i = 0; i < old.length; ++i)
        old[i].classList.remove("keyfocus");
    if (move === "none" || targets.length === 0) {
        keyFocus = -1;
        return;
    }
    if (move === "activate") {
        if (keyFocus >= 0 && keyFocus < targets.length) {
            targets[keyFocus].classList.add("keyfocus");
            targets[keyFocus].click();
        }
        return;
    }
    if (move === "first" || keyFocus < 0 || keyFocus >= targets.length)
        keyFocus = 0;
    else
        keyFocus = (keyFocus + (move === "previous" ? targets.length - 1 : 1)) % targets.length;
    var target = targets[keyFocus];
    target.classList.add("keyfocus");
    try {
        target.focus({preventScroll: true});
    } catch (e) {
    }
    if (target.scrollIntoView && window.name === "con" && !itemTable())
        target.scrollIntoView({block: "nearest"});
    announce(target.getAttribute("aria-label") || target.textContent);
}

// ---- The visitor's buttons in the content: larger text (100, 150, 200 %, then
// back) and high contrast. They keep the size the page was drawn with.

function showViewControls() {
    var bar = document.querySelector(".viewControls");
    if (!bar && document.body) {
        bar = document.createElement("div");
        bar.className = "viewControls";
        bar.setAttribute("role", "group");
        bar.setAttribute("aria-label", "Display");
        var size = document.createElement("button");
        size.type = "button";
        size.className = "textSize";
        size.textContent = "A+";
        size.addEventListener("click", function (event) {
            event.stopPropagation();
            var view = frameView();
            var next = textScales[(textScales.indexOf(view.textScale) + 1) % textScales.length];
            postToHub({type: "view", view: {textScale: next, contrast: view.contrast}});
        });
        var contrast = document.createElement("button");
        contrast.type = "button";
        contrast.className = "contrastSwitch";
        contrast.textContent = "\u25d0";
        contrast.setAttribute("aria-label", "High contrast");
        contrast.addEventListener("click", function (event) {
            event.stopPropagation();
            var view = frameView();
            postToHub({type: "view", view: {textScale: view.textScale, contrast: !view.contrast}});
        });
        var sign = document.createElement("p");
        sign.className = "speechSign";
        bar.appendChild(sign);
        bar.appendChild(size);
        bar.appendChild(contrast);
        document.body.appendChild(bar);
    }
    if (!bar)
        return;
    var view = frameView();
    bar.style.fontSize = baseFontSize() + "px";
    var band = reachBand();
    if (band)
        bar.style.bottom = Math.max(0.3 * baseFontSize(), band.height - band.bottom) + "px";
    var sizeButton = bar.querySelector(".textSize");
    sizeButton.setAttribute("aria-label", view.textScale >= 2 ? "Normal text size"
                                          : "Larger text, now " + Math.round(view.textScale * 100) + " %");
    bar.querySelector(".contrastSwitch").setAttribute("aria-pressed", view.contrast ? "true" : "false");
    var speaking = !!(frame.setup && frame.setup.speech);
    bar.querySelector(".speechSign").textContent = speaking ? "Speech on: touch to hear, twice to press. Hold 2 s: off"
                                                            : "Speech: hold the screen 2\u00a0s or press\u00a0*";
}

// ---- The notice before the idle return, in the content frame: a touch on it
// only keeps the page (it does not reach what lies below).

var noticeText = "Still there? Touch the screen to stay";
var noticeTick = null;
var swallowClicksUntil = 0;

function showNoticeBox(seconds) {
    var box = document.getElementById("kioskNotice");
    if (noticeTick !== null)
        clearInterval(noticeTick);
    noticeTick = null;
    if (seconds <= 0) {
        if (box && box.parentNode)
            box.parentNode.removeChild(box);
        return;
    }
    if (!box && document.body) {
        box = document.createElement("div");
        box.id = "kioskNotice";
        box.setAttribute("role", "alert");
        box.innerHTML = "<p class=\"notice\"></p><p class=\"countdown\"></p>";
        box.firstChild.textContent = noticeText;
        box.addEventListener("pointerdown", function () {
            swallowClicksUntil = Date.now() + 1000;
            showNoticeBox(0);
        });
        document.body.appendChild(box);
    }
    if (!box)
        return;
    var end = Date.now() + seconds * 1000;
    var count = function () {
        var left = Math.max(0, Math.ceil((end - Date.now()) / 1000));
        box.lastChild.textContent = "Back to the start in " + left + " s";
    };
    count();
    noticeTick = setInterval(count, 1000);
}

document.addEventListener("click", function (event) {
    if (Date.now() < swallowClicksUntil) {
        swallowClicksUntil = 0;
        event.preventDefault();
        event.stopPropagation();
    }
}, true);

// Speaks the text when speech is on (the hub decides).
function announce(text) {
    if (isHub())
        hubSay(text);
    else if (frame.setup && frame.setup.speech)
        postToHub({type: "say", text: String(text || "")});
}

// ---- Speech in a frame: the long press that switches it, and touches that
// speak before they act.

var holdTimer = null;
var holdStart = null;
var lastSpoken = {node: null, time: 0};
var doubleTapMs = 700;

function holdStarted(event) {
    holdEnded();
    if (event.isPrimary === false)
        return;
    holdStart = {x: event.clientX, y: event.clientY};
    holdTimer = setTimeout(function () {
        holdTimer = null;
        swallowClicksUntil = Date.now() + 1500;
        postToHub({type: "speech", on: "toggle"});
    }, speechHoldMs);
}

function holdMoved(event) {
    if (holdStart && Math.abs(event.clientX - holdStart.x) + Math.abs(event.clientY - holdStart.y) > 24)
        holdEnded();
}

function holdEnded() {
    if (holdTimer !== null)
        clearTimeout(holdTimer);
    holdTimer = null;
    holdStart = null;
}

// What a touch on the node would have spoken: the nearest button, row,
// link or block of text, by its name for screen readers or its text.
function spokenPlace(node) {
    while (node && node.nodeType !== 1)
        node = node.parentNode;
    var place = node && node.closest
        ? node.closest("a.nav, button, #sTable tr, a[href], #kioskNotice, p, h1, h2, h3, h4, h5, h6, li, td, img, pre")
        : null;
    if (!place)
        return null;
    var text = place.getAttribute("aria-label") || place.textContent || place.getAttribute("alt") || "";
    return {node: place, text: text.replace(/\s+/g, " ").trim()};
}

// With speech on, a real touch speaks first; the same place touched again
// at once goes on to do what the touch does.
function speechTouch(event) {
    try {
        if (!event.isTrusted || !frame.setup || !frame.setup.speech || editMode())
            return;
        var place = spokenPlace(event.target);
        var now = Date.now();
        if (place && lastSpoken.node === place.node && now - lastSpoken.time < doubleTapMs) {
            lastSpoken = {node: null, time: 0};
            return;
        }
        lastSpoken = {node: place ? place.node : null, time: now};
        event.preventDefault();
        event.stopImmediatePropagation();
        if (place && place.text)
            postToHub({type: "say", text: place.text});
    } catch (e) {
    }
}

// Screen readers: the page's language and a title naming the page.
function nameDocument() {
    if (!document.documentElement.getAttribute("lang"))
        document.documentElement.setAttribute("lang", "en");
    var title = frame.setup ? frame.setup.title : "";
    var part = window.name === "nav" ? "Buttons" : "Content";
    if (title && /^\s*-\s*(Content|Navigation)\s*$/.test(document.title))
        document.title = title + " - " + part;
}

function refitFrame() {
    zoomDuringFit = 0;
    zoomDuringFit = browserZoom();
    try {
        refitParts();
    } finally {
        zoomDuringFit = 0;
    }
}

function refitParts() {
    applyFontSize();
    if (window.name === "con")
        showViewControls();
    if (window.name === "nav") {
        placeColumnInReach();
        fitCaptions();
        reportSelectBox();
    } else {
        fitContent();
        if (itemTable())
            showRow(currentRow());
    }
}

// The places a key reaches, and the navigation column's captions for speech.
function reportKeyTargets() {
    postToHub({type: "keyTargets", count: keyTargets().length});
    if (window.name === "nav") {
        var captions = [];
        var targets = keyTargets();
        for (var c = 0; c < targets.length; ++c)
            captions.push((targets[c].getAttribute("aria-label") || targets[c].textContent).replace(/\s+/g, " ").trim());
        postToHub({type: "captions", captions: captions});
    }
}

// Once the hub answered: the size, the captions or the content, then tell
// whoever waits (the tests too) that the frame is ready.
function prepareFrame() {
    if (frame.ready) {
        refitFrame();
        return;
    }
    frame.ready = true;
    // The style sheet's size read while the page is still as it was drawn,
    // so that the reading lays nothing out again.
    styledFontSize();
    // Shown again before it is fitted, in the same task: nothing is drawn in
    // between, and the fitting measures the text as it will be drawn.
    showText();
    nameDocument();
    hideFailedPictures();
    applyClock(frame.setup.clock);
    refitFrame();
    reportKeyTargets();
    if (window.name === "con") {
        // Pictures may change the layout once loaded: fit again.
        if (document.readyState !== "complete")
            window.addEventListener("load", function () {
                hideFailedPictures();
                if (!itemTable())
                    fitContent();
            });
        if (!itemTable())
            window.addEventListener("scroll", reportScrollState);
    }
    document.documentElement.setAttribute("data-kiosk-ready", "1");
}

function prepareDocument() {
    try {
        hardenDocument(document);
        if (isHub()) {
            applyFontSize();
            startHub();
            return;
        }
        if (window.name === "nav")
            prepareNavigation();
        frame.parsed = true;
        var early = frame.early;
        frame.early = [];
        for (var i = 0; i < early.length; ++i)
            frameReceive(early[i]);
    } catch (e) {
    }
}

// ---- Nothing white or unfitted is drawn: the frameset window takes the
// pages' background (the style sheet's, for the visitor's contrast) before
// its first paint, so that no white shows while the frames load; each frame
// draws its background at once and its text only once fitted.

var textHoldTimer = null;

function paintPageBackground() {
    try {
        var root = document.documentElement;
        var probe = document.createElement("body");
        root.appendChild(probe);
        var colour = window.getComputedStyle(probe, null).backgroundColor;
        root.removeChild(probe);
        if (colour && colour !== "transparent" && !/^rgba\(.*,\s*0\)$/.test(colour))
            root.style.backgroundColor = colour;
    } catch (e) {
    }
}

// Until the frame is fitted, at most a few seconds should the hub not answer.
function holdText() {
    document.documentElement.classList.add("preparing");
    textHoldTimer = setTimeout(showText, 3000);
}

function showText() {
    clearTimeout(textHoldTimer);
    document.documentElement.classList.remove("preparing");
}

if (isHub()) {
    applyFontSize();
    paintPageBackground();
} else {
    holdText();
    postToHub({type: "hello"});
}

if (document.readyState === "loading")
    document.addEventListener("DOMContentLoaded", prepareDocument);
else
    prepareDocument();
