// zel-makecab /f DIRECTIVE_FILE
// Writes the cabinet a directive file describes. Exit status 0 only when the
// cabinet was written completely; otherwise one line on stderr and status 1
// (2 for an unusable command line).
#include "cabinet_writer.h"
#include "command_line.h"
#include "directive_file.h"
#include "makecab_error.h"

#include <iostream>

int main(int argc, char** argv)
{
    try {
        const auto directiveFile = directiveFileFromArguments(std::vector<std::string>(argv + 1, argv + argc));
        writeCabinet(readDirectiveFile(directiveFile));
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "zel-makecab: " << error.what() << " (" << usageText() << ")\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "zel-makecab: " << error.what() << '\n';
        return 1;
    }
}
