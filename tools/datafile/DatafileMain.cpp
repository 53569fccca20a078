// datafile: a tool for players and support to look into and write the game's data files.
//   datafile dump FILE   the text of FILE on standard output; on standard error whether its checksum
//                        matched. Exit status 0 when it matched, 1 when not, 2 when FILE is missing or
//                        unreadable (a FIFO, a device or a folder among them).
//   datafile pack FILE   the text read from standard input, written into FILE as a data file.
// `datafile dump table.dat > t.txt`, an edit, then `datafile pack table.dat < t.txt` round-trips.
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "storage/DataFileCodec.h"
#include "storage/DataFileIo.h"
#include "storage/TScoresTable.h"

namespace {

int Usage() {
    std::fputs(
        "usage: datafile dump FILE   print the text of a data file and whether its checksum matched\n"
        "       datafile pack FILE   write the text on standard input into a data file\n",
        stderr);
    return 2;
}

int Dump(const char* path) {
    std::string bytes;
    const ReadResult result = ReadFileLimited(path, kMaxDataFileSize, bytes);
    const int error = errno;
    switch (result) {
        case ReadResult::Ok:
            break;
        case ReadResult::TooLarge:
            std::fprintf(stderr, "%s: larger than %zu bytes, not a data file\n", path, kMaxDataFileSize);
            return 2;
        default:
            // A FIFO or a device is refused at once rather than read: dump never waits on one.
            std::fprintf(stderr, "%s: %s\n", path, ReadFailureText(result, error).c_str());
            return 2;
    }
    DecodedDataFile file = DecodeDataFile(bytes);
    std::fwrite(file.text.data(), 1, file.text.size(), stdout);
    std::fflush(stdout);
    if (!file.hasCrc) {
        std::fprintf(stderr, "%s: %zu bytes, too short for a data file\n", path, bytes.size());
        return 1;
    }
    if (file.lengthDamaged) {
        std::fprintf(stderr, "%s: damaged: the last block gives an impossible length; raw bytes shown\n",
                     path);
        return 1;
    }
    if (!file.CrcMatched()) {
        std::fprintf(stderr, "%s: checksum MISMATCH: stored %08" PRIX32 ", computed %08" PRIX32 "\n", path,
                     file.storedCrc, file.computedCrc);
        return 1;
    }
    std::fprintf(stderr, "%s: checksum matched (%08" PRIX32 "), %zu bytes of text\n", path, file.storedCrc,
                 file.text.size());
    return 0;
}

int Pack(const char* path) {
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        // Leave room for the padding block and the checksum: the game would not read a larger file.
        if (n > kMaxDataFileSize - 12 - text.size()) {
            std::fprintf(stderr, "standard input: more text than a data file may hold\n");
            return 2;
        }
        text.append(chunk, n);
    }
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "standard input: read failed\n");
        return 2;
    }
    if (!TScoresTable().SaveText(path, text)) {
        std::fprintf(stderr, "%s: could not be written; any old file is unchanged\n", path);
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    if (std::strcmp(argv[1], "dump") == 0) return Dump(argv[2]);
    if (std::strcmp(argv[1], "pack") == 0) return Pack(argv[2]);
    return Usage();
}
