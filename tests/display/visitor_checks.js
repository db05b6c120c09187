// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a visitor's checks look at in a made page shown in the whole window.
// KioskVisit runs one of these functions at a time, inside a function of its
// own, so nothing here is left in the page.

// The contrast ratio of two computed colours.
function lum(c) {
    var m = c.match(/[\d.]+/g).slice(0, 3).map(function (v) {
        v = v / 255;
        return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
    });
    return 0.2126 * m[0] + 0.7152 * m[1] + 0.0722 * m[2];
}
function ratio(a, b) {
    var x = lum(a), y = lum(b);
    return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
}

// Faults of the navigation column ("; " between them): a button face much
// narrower than the column or lower than its cell, cells not filling the
// frame, a column that scrolls; a button whose middle is not its own, a
// caption larger than its button, of more than three lines or broken inside a
// word (other than at a soft hyphen), too little contrast (caption 4.5:1 to
// its button, button 3:1 to the column); and content of a frame that does not
// scroll reaching below it.
function navigationFaults() {
    var nav = window.frames['nav'], doc = nav.document, out = [];
    var links = doc.querySelectorAll('a.nav'), cells = doc.querySelectorAll('table.nav td'), total = 0;
    for (var j = 0; j < cells.length; ++j)
        total += cells[j].getBoundingClientRect().height;
    if (total < nav.innerHeight - 8)
        out.push('cells short');
    if (doc.scrollingElement.scrollHeight > nav.innerHeight)
        out.push('column overflows');
    for (var i = 0; i < links.length; ++i) {
        var a = links[i];
        if (!a.textContent)
            continue;
        var box = a.getBoundingClientRect(), cell = a.parentNode.getBoundingClientRect();
        if (box.width < 0.85 * nav.innerWidth || box.height < 0.8 * cell.height)
            out.push(a.id + ' small');
        var hit = doc.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
        if (!hit || !hit.closest('td') || hit.closest('td') !== a.parentNode)
            out.push(a.id + ' not hit');
        var cap = a.querySelector('.caption') || a, c = cap.getBoundingClientRect(), s = getComputedStyle(cap);
        if (cap.scrollWidth > cap.clientWidth + 1 || c.width > box.width + 0.5 || c.height > box.height + 0.5)
            out.push(a.id + ' caption too big');
        if (Math.round(c.height / parseFloat(s.lineHeight)) > 3)
            out.push(a.id + ' more than three lines');
        var walk = doc.createTreeWalker(cap, NodeFilter.SHOW_TEXT), node;
        while ((node = walk.nextNode())) {
            var re = /\S+/g, m;
            while ((m = re.exec(node.nodeValue))) {
                var r = doc.createRange(), lines = {};
                r.setStart(node, m.index);
                r.setEnd(node, m.index + m[0].length);
                Array.prototype.forEach.call(r.getClientRects(), function (q) {
                    if (q.width > 0)
                        lines[Math.round(q.top)] = 1;
                });
                if (Object.keys(lines).length > 1 && m[0].indexOf('\u00ad') < 0)
                    out.push(a.id + ' breaks ' + m[0]);
            }
        }
        if (a.classList.contains('disabled'))
            continue;
        var bs = getComputedStyle(a);
        if (ratio(bs.color, bs.backgroundColor) < 4.5)
            out.push(a.id + ' caption contrast');
        if (ratio(bs.backgroundColor, getComputedStyle(a.parentNode).backgroundColor) < 3)
            out.push(a.id + ' button contrast');
    }
    var con = window.frames['con'], frame = con.frameElement, page = con.document.scrollingElement;
    if (frame.getAttribute('scrolling') !== 'yes' && !con.document.getElementById('sTable')
        && page.scrollHeight > con.innerHeight + 1)
        out.push('content cut off');
    return out.join('; ');
}

// On a selector page: the highlighted rows' numbers, the hidden field "row",
// the current row's faults ("; " between them: not beside Select, not wholly
// on the screen, under the title, not as high as Select, not the row a touch
// on its middle finds, too little contrast to the other rows), and how many
// rows fit on the screen. Empty while the page is still loading.
function selectorRow() {
    try {
        var con = window.frames['con'], doc = con.document, rows = doc.getElementById('sTable').rows;
        var cell = window.frames['nav'].document.getElementById('b2').parentNode.getBoundingClientRect();
        var title = doc.querySelector('p.title').getBoundingClientRect(), current = [], out = [];
        for (var i = 0; i < rows.length; ++i)
            if (rows[i].className === 'current')
                current.push(i);
        var row = rows[current[0]], r = row.getBoundingClientRect();
        if (Math.abs(r.top - cell.top) > 2 || Math.abs(r.height - cell.height) > 2)
            out.push('not beside Select');
        if (r.top < 0 || r.bottom > con.innerHeight + 1)
            out.push('not on the screen');
        if (title.bottom > r.top + 0.5)
            out.push('under the title');
        var hit = doc.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
        if (!hit || hit.closest('tr') !== row)
            out.push('not found by a touch');
        var other = rows[current[0] === 0 ? 1 : 0].cells[1], mine = row.cells[1];
        if (ratio(getComputedStyle(mine).backgroundColor, getComputedStyle(other).backgroundColor) < 3)
            out.push('contrast');
        return [current.join(), doc.getElementsByName('row')[0].value, out.join('; '),
                Math.floor((con.innerHeight - cell.top) / rows[0].getBoundingClientRect().height)];
    } catch (e) {
        return [];
    }
}

// Where a finger touches the picture and the text of row n of a selector (in the window).
function rowTargets(n) {
    var row = window.frames['con'].document.getElementById('sTable').rows[n];
    var p = row.getElementsByTagName('img')[0].getBoundingClientRect();
    var t = row.getElementsByTagName('p')[0].getBoundingClientRect();
    return [p.left + p.width / 2, p.top + p.height / 2, t.left + t.width / 2, t.top + t.height / 2];
}

// A leaf page's sideways overflow ("; " between its faults), whether Up and
// Down look disabled, and whether there is more below.
function leafState() {
    var con = window.frames['con'], doc = con.document, page = doc.scrollingElement, out = [];
    if (page.scrollWidth > page.clientWidth)
        out.push('scrolls sideways');
    doc.body.querySelectorAll('*').forEach(function (e) {
        var r = e.getBoundingClientRect();
        if (r.width > 0 && r.right > page.clientWidth + 1)
            out.push(e.nodeName + ' too wide');
    });
    var nav = window.frames['nav'].document;
    return [out.join('; '), nav.getElementById('b2').classList.contains('disabled'),
            nav.getElementById('b7').classList.contains('disabled'), page.scrollHeight > page.clientHeight];
}

// Calls every function of the kiosk script in each window ("ok" for each),
// then tells whether the nav frame has goBack and the style sheet made its
// buttons blocks: "ok,ok,ok function true" when all is well.
function callEverything() {
    var out = [];
    [window, window.frames['con'], window.frames['nav']].forEach(function (w) {
        try {
            w.init(); w.rowdown(); w.pagedown(); w.scrolldown(); w.rowup(); w.pageup(); w.scrollup(); w.init();
            out.push('ok');
        } catch (e) {
            out.push('threw ' + e);
        }
    });
    var first = window.frames['nav'].document.querySelector('a') || document.body;
    return out.join() + ' ' + typeof window.frames['nav'].goBack + ' ' + (getComputedStyle(first).display != 'inline');
}
