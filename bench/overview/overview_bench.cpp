// Times the kiosk system overview: the first fill of a generated kiosk system
// of N pages (default 2000) in 20 folders, the refresh after one page source
// is saved, and the check that fills in the problem counts afterwards.
#include "app/core/open_kiosk_system.h"
#include "app/frm_kiosk_overview.h"
#include "dialogs/workbench.h"
#include "platform/session.h"

#include "support/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void generate(const QString& top, int pages)
{
    writeFile(top + "configuration.txt", "");
    writeFile(top + "root/root.zel", "#root\r\n#title Home\r\n#button f0\\p0 First\r\n");
    for (int i = 0; i < pages; ++i) {
        const QString folder = QString("f%1").arg(i % 20);
        QByteArray page = "#branch\r\n#title Page " + QByteArray::number(i) + "\r\n#para\r\nSome text.\r\n";
        page += "#button " + folder.toLatin1() + "\\p" + QByteArray::number((i + 20) % pages) + " Next\r\n";
        writeFile(top + folder + "/p" + QString::number(i) + ".zel", page);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 2000;
    Session session;
    QTemporaryDir dir;
    const QString top = dir.path() + "/kiosk/";
    generate(top, pages);
    const auto kiosk = openKioskSystemHeadless(session, top, false);
    Workbench workbench(session);
    workbench.setKioskSystem(kiosk.get());

    std::vector<double> fills, refreshes;
    double check = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        frmKioskOverview& overview = workbench.instance<frmKioskOverview>();
        overview.showOverview();
        fills.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!QTest::qWaitFor([&] { return !overview.isChecking(); }, 600000))
            return 1;
        check = timer.nsecsElapsed() / 1e6;
        for (int save = 0; save < 5; ++save) {
            writeFile(top + "f3/p23.zel", "#branch\r\n#title Saved " + QByteArray::number(run * 10 + save) + "\r\n");
            timer.restart();
            overview.refresh({"f3"}); // the folder the watcher reports
            refreshes.push_back(timer.nsecsElapsed() / 1e6);
            if (!QTest::qWaitFor([&] { return !overview.isChecking(); }, 600000))
                return 1;
        }
        overview.close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("pages %d\nfirst fill (median of %zu): %.1f ms\nrefresh after a save (median of %zu): %.1f ms\n"
                "check filling in the counts (last run): %.0f ms\n",
                pages + 1, fills.size(), median(fills), refreshes.size(), median(refreshes), check);
    return 0;
}
