#include "make_command.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>

int main(int argc, char** argv)
{
    // A reader that stops early (zel-make K | head -1) closes standard output:
    // writing to it then fails with EPIPE instead of ending the make.
    std::signal(SIGPIPE, SIG_IGN);
    // The image tool is found beside the program, which needs the application object.
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return MakeCommand::run(arguments);
}
