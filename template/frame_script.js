// Script shared by every made page of the kiosk system. Each page is a
// frameset with a content frame "con" and a navigation frame "nav"; the
// navigation buttons call the functions below. A button's link runs in the
// frameset page (its target is "_top"), but the functions also work when
// called from either frame: they always find the frames through window.top.
// No function throws: a missing frame, item table, row field or row makes it
// do nothing.

// Seconds without a touch after which the kiosk goes back to the root page
// and forgets the places remembered during the visit.
var idleSecondsBeforeHome = 120;

function kioskTop() {
    try {
        return window.top || window;
    } catch (e) {
        return window;
    }
}

function namedFrame(name) {
    try {
        var top = kioskTop();
        if (top.frames && top.frames[name])
            return top.frames[name];
    } catch (e) {
    }
    return null;
}

function frameDocument(name) {
    var frame = namedFrame(name);
    try {
        return frame ? frame.document : null;
    } catch (e) {
        return null;
    }
}

function navigationLinks(href) {
    var nav = frameDocument("nav");
    var found = [];
    if (!nav)
        return found;
    var links = nav.getElementsByTagName("a");
    for (var i = 0; i < links.length; ++i)
        if (links[i].getAttribute("href") === href)
            found.push(links[i]);
    return found;
}

// ---- Sizes follow the screen: the root font size is the one the pages are
// drawn for on a 1280 x 1024 screen, scaled by the smaller of the two ratios
// of the screen the frameset fills, so every screen shows the same kiosk.

var designFontSize = 28;

function screenScale() {
    try {
        var top = kioskTop();
        var width = top.innerWidth, height = top.innerHeight;
        if (width > 0 && height > 0)
            return Math.min(width / 1280, height / 1024);
    } catch (e) {
    }
    return 1;
}

function rootFontSize() {
    return Math.max(11, Math.round(designFontSize * screenScale()));
}

try {
    document.documentElement.style.fontSize = rootFontSize() + "px";
} catch (e) {
}

function pixels(value) {
    var number = parseFloat(value);
    return isNaN(number) ? 0 : number;
}

// ---- Leaf pages: Up and Down scroll the content by its visible height less
// one line, so the last line of a screen is the first line of the next. At
// an end the button that would scroll further looks disabled.

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

function scrollContent(direction) {
    try {
        var con = namedFrame("con");
        var doc = frameDocument("con");
        if (!con || !doc || !doc.body)
            return;
        var visible = con.innerHeight || 0;
        var step = Math.max(1, Math.floor(visible - lineHeightOf(doc)));
        // scrollBy stops at either end by itself.
        con.scrollBy(0, direction * step);
        updateScrollButtons();
    } catch (e) {
    }
}

function scrollup() {
    scrollContent(-1);
}

function scrolldown() {
    scrollContent(1);
}

function markDisabled(links, disabled) {
    for (var i = 0; i < links.length; ++i) {
        links[i].classList.toggle("disabled", disabled);
        links[i].setAttribute("aria-disabled", disabled ? "true" : "false");
    }
}

function updateScrollButtons() {
    try {
        var con = namedFrame("con");
        var doc = frameDocument("con");
        if (!con || !doc || !doc.scrollingElement)
            return;
        var page = doc.scrollingElement;
        var y = con.scrollY || 0;
        var end = page.scrollHeight - page.clientHeight;
        markDisabled(navigationLinks("javascript:scrollup()"), y <= 0);
        markDisabled(navigationLinks("javascript:scrolldown()"), y >= end - 1);
    } catch (e) {
    }
}

// ---- Selector pages: the item table "sTable" is moved up and down so that
// the current row stands beside the double-height Select button; the current
// row's number is kept in the hidden field "row".

function itemTable() {
    var doc = frameDocument("con");
    return doc ? doc.getElementById("sTable") : null;
}

function rowField() {
    var doc = frameDocument("con");
    if (!doc)
        return null;
    var fields = doc.getElementsByName("row");
    return fields.length > 0 ? fields[0] : null;
}

function itemRows() {
    var table = itemTable();
    return table && table.rows ? table.rows : [];
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

// The top of the Select button's cell, which lies at the same height in the
// navigation frame as in the content frame (both frames start at the top of
// the screen). Without a Select button, the table's first place as written.
function selectButtonTop(table) {
    var links = navigationLinks("javascript:select()");
    if (links.length > 0) {
        var cell = links[0].parentNode;
        return (cell && cell.getBoundingClientRect) ? cell.getBoundingClientRect().top
                                                    : links[0].getBoundingClientRect().top;
    }
    return firstTableTop(table);
}

// The row shown last on each selector page is remembered for the visit, so
// that Back to a selector shows the row the visitor left it on.
var placeKeyPrefix = "kiosk.row:";

function placeKey() {
    try {
        return placeKeyPrefix + kioskTop().location.pathname;
    } catch (e) {
        return placeKeyPrefix;
    }
}

function rememberRow(row) {
    try {
        kioskTop().sessionStorage.setItem(placeKey(), String(row));
    } catch (e) {
    }
}

function rememberedRow() {
    try {
        var row = parseInt(kioskTop().sessionStorage.getItem(placeKey()), 10);
        return isNaN(row) ? 0 : row;
    } catch (e) {
        return 0;
    }
}

function forgetPlaces() {
    try {
        var store = kioskTop().sessionStorage;
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
        var entries = kioskTop().performance.getEntriesByType("navigation");
        return entries.length > 0 && entries[0].type === "back_forward";
    } catch (e) {
        return false;
    }
}

function showRow(row) {
    try {
        var table = itemTable();
        var rows = itemRows();
        if (!table || rows.length === 0)
            return;
        prepareSelector(table.ownerDocument);
        row = Math.max(0, Math.min(rows.length - 1, row));
        for (var i = 0; i < rows.length; ++i)
            rows[i].className = (i === row) ? "current" : "";
        var shift = selectButtonTop(table) - rows[row].getBoundingClientRect().top;
        table.style.top = Math.round((parseFloat(table.style.top) || 0) + shift) + "px";
        var field = rowField();
        if (field)
            field.value = String(row);
        rememberRow(row);
    } catch (e) {
    }
}

// Rows that fit on the screen from the Select button down.
function rowsPerScreen() {
    try {
        var con = namedFrame("con");
        var table = itemTable();
        var rows = itemRows();
        if (!con || !table || rows.length === 0)
            return 1;
        var height = rows[0].getBoundingClientRect().height || 1;
        var room = (con.innerHeight || 0) - selectButtonTop(table);
        return Math.max(1, Math.floor(room / height));
    } catch (e) {
        return 1;
    }
}

function init() {
    showRow(shownFromHistory() ? rememberedRow() : 0);
    updateScrollButtons();
}

function rowup() {
    showRow(currentRow() - 1);
}

function rowdown() {
    showRow(currentRow() + 1);
}

function pageup() {
    showRow(currentRow() - rowsPerScreen());
}

function pagedown() {
    showRow(currentRow() + rowsPerScreen());
}

// Opens the current row's page in the whole window.
function select() {
    try {
        var rows = itemRows();
        var row = currentRow();
        if (row < 0 || row >= rows.length)
            return;
        var links = rows[row].getElementsByTagName("a");
        if (links.length === 0 || !links[0].href)
            return;
        kioskTop().location.href = links[0].href;
    } catch (e) {
    }
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
        select();
    } catch (e) {
    }
}

// Shrinks the font of a block from its size as styled until it is at most
// the given height; never below the smallest size.
function shrinkToHeight(block, height, smallest) {
    var size = pixels(block.ownerDocument.defaultView.getComputedStyle(block, null).fontSize);
    while (block.offsetHeight > height && size > smallest) {
        size -= 1;
        block.style.fontSize = size + "px";
    }
}

// A block still taller than the height shows only the whole lines that fit,
// the last one ending in an ellipsis.
function clampLines(block, height) {
    if (block.offsetHeight <= height)
        return;
    var line = pixels(block.ownerDocument.defaultView.getComputedStyle(block, null).lineHeight) || 1;
    block.style.display = "-webkit-box";
    block.style.webkitBoxOrient = "vertical";
    block.style.webkitLineClamp = String(Math.max(1, Math.floor(height / line)));
    block.style.maxHeight = height + "px";
}

// Once per selector page: links open in the whole window, rows take touches,
// item texts fit their rows, and the title stands on one line in its own
// band above the Select button's height, so it never covers the current row.
function prepareSelector(doc) {
    var table = doc.getElementById("sTable");
    if (!table || table.getAttribute("data-prepared") !== null)
        return;
    table.setAttribute("data-prepared", "1");
    var band = firstTableTop(table);
    doc.body.classList.add("selector");
    var links = table.getElementsByTagName("a");
    for (var i = 0; i < links.length; ++i)
        links[i].setAttribute("target", "_top");
    table.addEventListener("click", rowTouched);
    var rowHeight = 0;
    for (var r = 0; r < table.rows.length; ++r)
        rowHeight = Math.max(rowHeight, parseInt(table.rows[r].cells[0].getAttribute("height"), 10) || 0);
    var texts = table.getElementsByTagName("p");
    for (var t = 0; t < texts.length && rowHeight > 0; ++t) {
        shrinkToHeight(texts[t], rowHeight - 8, rootFontSize() * 0.6);
        clampLines(texts[t], rowHeight - 8);
    }
    var titles = doc.querySelectorAll("p.title");
    for (var k = 0; k < titles.length && band > 0; ++k) {
        titles[k].style.height = band + "px";
        titles[k].style.lineHeight = band + "px";
        titles[k].style.fontSize = Math.min(1.6 * rootFontSize(), Math.floor(band * 0.5)) + "px";
    }
}

// ---- Root, branch and leaf pages: content fits the screen.

// Root and branch content frames do not scroll: content taller than the
// frame is drawn scaled down, as little as needed for all of it to be seen
// (never below 40 %), and laid out wider by the same factor so that it
// still fills the frame's width.
function fitTallContent(doc) {
    var view = doc.defaultView, body = doc.body, page = doc.scrollingElement;
    if (!view || !body || !page || view.innerHeight <= 0)
        return;
    var fits = function (scale) {
        // The page is as high as the frame; only the drawn body may reach beyond.
        doc.documentElement.style.height = "100%";
        body.style.transformOrigin = "0 0";
        body.style.transform = "scale(" + scale + ")";
        body.style.width = (doc.documentElement.clientWidth / scale) + "px";
        return page.scrollHeight <= view.innerHeight + 1;
    };
    unfitTallContent(doc);
    if (page.scrollHeight <= view.innerHeight + 1)
        return;
    var low = 0.4, high = 1;
    for (var i = 0; i < 8; ++i) {
        var middle = (low + high) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle;
    }
    fits(low);
}

function unfitTallContent(doc) {
    doc.documentElement.style.height = "";
    doc.body.style.transform = "";
    doc.body.style.width = "";
}

// Whatever an author's HTML makes wider than the column (a table with fixed
// widths, a wide picture) is drawn scaled down to the column's width, its
// left margin kept on the right too; the room it leaves below is taken back.
function fitWideContent(doc) {
    var body = doc.body;
    if (!body)
        return;
    var width = doc.documentElement.clientWidth;
    for (var child = body.firstElementChild; child; child = child.nextElementSibling) {
        if (child.getAttribute("data-scaled") !== null) {
            child.style.transform = "";
            child.style.marginBottom = "";
            child.removeAttribute("data-scaled");
        }
        var box = child.getBoundingClientRect();
        if (box.width <= 0 || box.right <= width + 1 || box.left >= width)
            continue;
        var left = Math.max(0, box.left);
        var scale = Math.max(0.2, (width - 2 * left) / box.width);
        var below = pixels(doc.defaultView.getComputedStyle(child, null).marginBottom);
        child.setAttribute("data-scaled", "1");
        child.style.transformOrigin = "0 0";
        child.style.transform = "scale(" + scale + ")";
        child.style.marginBottom = (below - box.height * (1 - scale)) + "px";
    }
}

function contentKind(doc) {
    if (doc.getElementById("sTable"))
        return "selector";
    try {
        var frame = doc.defaultView.frameElement;
        if (frame && String(frame.getAttribute("scrolling")).toLowerCase() === "yes")
            return "leaf";
    } catch (e) {
    }
    return "branch";
}

function prepareContent(doc) {
    var kind = contentKind(doc);
    if (kind === "selector") {
        prepareSelector(doc);
        return;
    }
    doc.body.classList.add(kind);
    unfitTallContent(doc);
    fitWideContent(doc);
    if (kind === "leaf") {
        doc.defaultView.addEventListener("scroll", updateScrollButtons);
        updateScrollButtons();
    } else {
        fitTallContent(doc);
    }
}

// ---- Navigation captions: each fits its own button, at most three lines,
// broken only between words or at a hyphen inside a long word, and as large
// as that allows.

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

function captionFits(link, span, size) {
    var style = link.ownerDocument.defaultView.getComputedStyle(link, null);
    var width = link.clientWidth - pixels(style.paddingLeft) - pixels(style.paddingRight);
    var height = link.clientHeight - 6;
    var lines = span.offsetHeight / (size * 1.15);
    return span.scrollWidth <= width + 0.5 && span.offsetWidth <= width + 0.5
           && span.offsetHeight <= height && lines <= captionLines + 0.5;
}

function fitCaption(link) {
    if (!link.textContent || !link.clientHeight)
        return;
    var span = captionOf(link);
    span.innerHTML = span.getAttribute("data-words");
    var largest = Math.round(Math.min(1.1 * rootFontSize(), (link.clientHeight - 6) * 0.42));
    var smallest = Math.min(largest, Math.max(9, Math.round(0.45 * rootFontSize())));
    for (var size = largest; size >= smallest; --size) {
        link.style.fontSize = size + "px";
        span.innerHTML = span.getAttribute("data-words");
        if (captionFits(link, span, size))
            return;
        hyphenateText(span);
        if (captionFits(link, span, size))
            return;
    }
    // Nothing fits: the smallest size, hyphenated, clipped by the button.
}

function fitCaptions(doc) {
    var links = doc.querySelectorAll("a.nav");
    for (var i = 0; i < links.length; ++i)
        fitCaption(links[i]);
}

// ---- Every page: back to the page shown before, the whole frameset. Every
// button link opens its page in the whole window, so the window's history
// holds whole pages; on the first page of a visit there is nothing to go back
// to and the page stays.
function goBack() {
    try {
        var top = kioskTop();
        if (top.history && top.history.length > 1)
            top.history.back();
    } catch (e) {
    }
}

// ---- Unattended kiosk: after idleSecondsBeforeHome without a touch the
// frameset goes back to the root page and the remembered places are
// forgotten (not in the author's viewer, which sets zelEditMode). Every frame
// reports its touches to the frameset window.

var idleTimer = null;

function homeAddress() {
    var top = kioskTop();
    var home = frameDocument("nav") ? frameDocument("nav").getElementById("b1") : null;
    if (home && /root\.htm$/i.test(home.getAttribute("href") || ""))
        return home.href;
    return new URL("../root/root.htm", top.location.href).href;
}

function idleTimeOut() {
    idleTimer = null;
    try {
        // The author's viewer (edit mode) stays on the page it was asked to show.
        if (kioskTop().zelEditMode)
            return;
        forgetPlaces();
        var top = kioskTop();
        var home = new URL(homeAddress());
        if (home.pathname !== top.location.pathname)
            top.location.href = home.href;
        else
            noteTouch();
    } catch (e) {
    }
}

function noteTouch() {
    try {
        var top = kioskTop();
        if (top !== window && top.noteTouch) {
            top.noteTouch();
            return;
        }
        if (idleTimer !== null)
            clearTimeout(idleTimer);
        idleTimer = setTimeout(idleTimeOut, Math.max(0, idleSecondsBeforeHome) * 1000);
    } catch (e) {
    }
}

// No long-press menu, no zoom by gesture or by wheel with Ctrl, and every
// touch, click (also a button clicked by the viewer's keys), key or wheel
// turn restarts the idle time.
function hardenDocument(doc) {
    doc.addEventListener("contextmenu", function (event) { event.preventDefault(); });
    doc.addEventListener("selectstart", function (event) { event.preventDefault(); });
    doc.addEventListener("dragstart", function (event) { event.preventDefault(); });
    doc.addEventListener("gesturestart", function (event) { event.preventDefault(); });
    doc.addEventListener("wheel", function (event) { if (event.ctrlKey) event.preventDefault(); }, {passive: false});
    var touches = ["pointerdown", "touchstart", "mousedown", "click", "keydown", "wheel"];
    for (var i = 0; i < touches.length; ++i)
        doc.addEventListener(touches[i], noteTouch, {passive: true, capture: true});
}

function prepareDocument() {
    try {
        hardenDocument(document);
        if (window === kioskTop()) {
            noteTouch();
            return;
        }
        if (window.name === "nav") {
            fitCaptions(document);
            updateScrollButtons();
        } else if (window.name === "con") {
            prepareContent(document);
            // Pictures may change the layout once loaded: fit again.
            window.addEventListener("load", function () {
                if (contentKind(document) !== "selector")
                    prepareContent(document);
            });
        }
    } catch (e) {
    }
}

if (document.readyState === "loading")
    document.addEventListener("DOMContentLoaded", prepareDocument);
else
    prepareDocument();
