// Script shared by every made page of the kiosk system. Each page is a
// frameset with a content frame "con" and a navigation frame "nav"; the
// navigation buttons call the functions below. A button's link runs in the
// frameset page (its target is "_top"), but the functions also work when
// called from either frame: they always find the frames through window.top.
// No function throws: a missing frame, item table, row field or row makes it
// do nothing.

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

// ---- Leaf pages: Up and Down scroll the content by its visible height less
// one line, so the last line of a screen is the first line of the next.

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
    } catch (e) {
    }
}

function scrollup() {
    scrollContent(-1);
}

function scrolldown() {
    scrollContent(1);
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

// The top of the Select button's cell, which lies at the same height in the
// navigation frame as in the content frame (both frames start at the top of
// the screen). Without a Select button, the table's first place as written.
function selectButtonTop(table) {
    var nav = frameDocument("nav");
    if (nav) {
        var links = nav.getElementsByTagName("a");
        for (var i = 0; i < links.length; ++i) {
            if (links[i].getAttribute("href") === "javascript:select()") {
                var cell = links[i].parentNode;
                return (cell && cell.getBoundingClientRect) ? cell.getBoundingClientRect().top
                                                            : links[i].getBoundingClientRect().top;
            }
        }
    }
    if (table.getAttribute("data-first-top") === null)
        table.setAttribute("data-first-top", String(parseInt(table.style.top, 10) || 0));
    return parseInt(table.getAttribute("data-first-top"), 10);
}

function showRow(row) {
    try {
        var table = itemTable();
        var rows = itemRows();
        if (!table || rows.length === 0)
            return;
        row = Math.max(0, Math.min(rows.length - 1, row));
        for (var i = 0; i < rows.length; ++i)
            rows[i].className = (i === row) ? "current" : "";
        var shift = selectButtonTop(table) - rows[row].getBoundingClientRect().top;
        table.style.top = Math.round((parseFloat(table.style.top) || 0) + shift) + "px";
        var field = rowField();
        if (field)
            field.value = String(row);
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
    showRow(0);
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
