// The data-file loaders on arbitrary bytes: LoadText (through a real file) with LoadTable's parsing
// of whatever text comes out, AddLine, and the text SaveTable would write. Checks on the way that
// whatever the table holds survives a save and a load unchanged in what it writes.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "storage/DataFileCodec.h"
#include "storage/TScoresTable.h"

namespace {

std::string ScratchPath() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_datafile." + std::to_string(::getpid()) + ".dat";
}

std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_datafile: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchPath();
    static const bool removeAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
    (void)removeAtExit;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

    TScoresTable table;
    // LoadText reports a mismatched checksum on standard output; keep the fuzzer's log readable.
    std::FILE* saved = stdout;
    static std::FILE* devnull = std::fopen("/dev/null", "w");
    if (devnull) stdout = devnull;
    table.LoadTable(path);
    std::string text;
    table.LoadText(path, text);
    stdout = saved;

    // The same bytes read directly as a table text, and as one line for AddLine.
    table.ParseTableText(bytes);
    table.AddLine(bytes.substr(0, bytes.find('\n')));
    const std::string written = table.TableText();

    // What a save writes loads back to the same text, with a matching checksum.
    DecodedDataFile decoded = DecodeDataFile(EncodeDataFile(written));
    Check(decoded.CrcMatched() && decoded.text == written, "encode/decode round trip changed the text");
    TScoresTable reloaded;
    reloaded.ParseTableText(decoded.text);
    // Records of equal score come back in reverse order, so compare the lines as a set.
    Check(SortedLines(reloaded.TableText()) == SortedLines(written), "a saved table reads back differently");
    return 0;
}
