// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The floor a page maker cannot beat: for every page source of a kiosk
// system, read the source and write three files of the sizes the made page
// has (taken from the made page's files), with plain buffered C++ streams.
//   zel-make-floor KIOSK_FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: zel-make-floor KIOSK_FOLDER\n";
        return 2;
    }
    std::vector<fs::path> sources;
    for (const auto& folder : fs::directory_iterator(argv[1]))
        if (folder.is_directory())
            for (const auto& file : fs::directory_iterator(folder.path()))
                if (file.path().extension() == ".zel")
                    sources.push_back(file.path());
    std::string content;
    std::size_t written = 0;
    for (const fs::path& source : sources) {
        std::ifstream in(source, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const fs::path stem = source.parent_path() / source.stem();
        for (const char* suffix : {".htm", "_con.htm", "_nav.htm"}) {
            const fs::path made = stem.string() + suffix;
            const auto size = fs::exists(made) ? fs::file_size(made) : text.size();
            content.assign(size, 'x');
            std::ofstream out(stem.string() + suffix + ".floor", std::ios::binary | std::ios::trunc);
            out.write(content.data(), std::streamsize(content.size()));
            written += size;
        }
    }
    std::cout << sources.size() << " pages, " << written << " bytes written\n";
    return 0;
}
