// Script shared by every made page of the kiosk system. Each page is a
// frameset with a content frame "con" and a navigation frame "nav"; the
// navigation buttons call the functions below (from the navigation frame or
// from the frameset itself), so every function finds the frames through
// window.top and never fails when a frame, the item table or a row is missing.

function kioskTop() {
    try {
        return window.top || window;
    } catch (e) {
        return window;
    }
}

function contentWindow() {
    try {
        var top = kioskTop();
        if (top.frames && top.frames["con"])
            return top.frames["con"];
    } catch (e) {
    }
    return null;
}

function contentDocument() {
    var con = contentWindow();
    try {
        return con ? con.document : null;
    } catch (e) {
        return null;
    }
}

// ---- Leaf pages: scroll the content by most of a screen, keeping one line.

function lineHeightOf(doc) {
    try {
        var probe = doc.body;
        var style = doc.defaultView.getComputedStyle(probe, null);
        var height = parseFloat(style.lineHeight);
        if (!isNaN(height) && height > 0)
            return height;
        var size = parseFloat(style.fontSize);
        if (!isNaN(size) && size > 0)
            return size * 1.4;
    } catch (e) {
    }
    return 36;
}

function scrollContent(direction) {
    var con = contentWindow();
    var doc = contentDocument();
    if (!con || !doc || !doc.body)
        return;
    var visible = con.innerHeight || doc.documentElement.clientHeight || 0;
    var step = Math.max(1, Math.floor(visible - lineHeightOf(doc)));
    con.scrollBy(0, direction * step);
}

function scrollup() {
    scrollContent(-1);
}

function scrolldown() {
    scrollContent(1);
}

// ---- Selector pages: the current row stands beside the Select button.

function itemTable() {
    var doc = contentDocument();
    return doc ? doc.getElementById("sTable") : null;
}

function rowField() {
    var doc = contentDocument();
    if (!doc)
        return null;
    var fields = doc.getElementsByName("row");
    return fields.length > 0 ? fields[0] : null;
}

function itemRows() {
    var table = itemTable();
    return table ? table.rows : [];
}

function currentRow() {
    var field = rowField();
    var row = field ? parseInt(field.value, 10) : 0;
    return isNaN(row) ? 0 : row;
}

// The distance from the top of the content frame to the Select button: the
// table's starting offset, as the page maker wrote it.
function selectOffset(table) {
    if (table.getAttribute("data-select-offset") === null)
        table.setAttribute("data-select-offset", String(parseInt(table.style.top, 10) || 0));
    return parseInt(table.getAttribute("data-select-offset"), 10);
}

function showRow(row) {
    var table = itemTable();
    var rows = itemRows();
    if (!table || rows.length === 0)
        return;
    row = Math.max(0, Math.min(rows.length - 1, row));
    var offset = selectOffset(table);
    for (var i = 0; i < rows.length; ++i)
        rows[i].className = (i === row) ? "current" : "";
    table.style.top = (offset - rows[row].offsetTop) + "px";
    var field = rowField();
    if (field)
        field.value = String(row);
}

function rowsPerScreen() {
    var con = contentWindow();
    var rows = itemRows();
    if (!con || rows.length === 0)
        return 1;
    var height = rows[0].offsetHeight || 1;
    return Math.max(1, Math.floor((con.innerHeight || height) / height));
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

function select() {
    var rows = itemRows();
    var row = currentRow();
    if (row < 0 || row >= rows.length)
        return;
    var links = rows[row].getElementsByTagName("a");
    if (links.length === 0)
        return;
    kioskTop().location.href = links[0].href;
}

// ---- Every page: back to the page shown before (the whole frameset).

function goBack() {
    var top = kioskTop();
    if (top.history.length > 1)
        top.history.back();
}
