#include "make_command.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    // The image tool is found beside the program, which needs the application object.
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return MakeCommand::run(arguments);
}
