// marshwade-scores: the score server the game's Publish and Games buttons open in the browser.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "server/Pages.h"
#include "server/ScoreServer.h"
#include "server/Storage.h"

namespace {

using scores_server::ServerSettings;

const char* const kUsage =
    "usage: marshwade-scores [--listen HOST:PORT] [--database sqlite:PATH|postgresql://...]\n"
    "                        [--threads N] [--publish-limit N] [--clips FOLDER]\n"
    "       marshwade-scores [--database ...] list --skill 0|1|2\n"
    "       marshwade-scores [--database ...] remove ID\n"
    "Environment: MARSHWADE_SCORES_LISTEN, MARSHWADE_SCORES_DATABASE, MARSHWADE_SCORES_THREADS.\n";

bool ParseInt(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

bool ParseListen(const std::string& listen, ServerSettings& settings) {
    const size_t colon = listen.rfind(':');
    long port = 0;
    if (colon == std::string::npos || colon == 0 || !ParseInt(listen.substr(colon + 1), 0, 65535, port))
        return false;
    settings.host = listen.substr(0, colon);
    if (settings.host.size() > 2 && settings.host.front() == '[' && settings.host.back() == ']')
        settings.host = settings.host.substr(1, settings.host.size() - 2);
    settings.port = static_cast<int>(port);
    return true;
}

// The folder of the generated pictures: beside the program in a build, in the game's data in an install.
std::string DefaultClipFolder() {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string folder(self, static_cast<size_t>(n));
    folder = folder.substr(0, folder.rfind('/'));
    for (const std::string& candidate : {folder + "/CLP", folder + "/../share/games/marshwade/CLP"})
        if (access((candidate + "/frog0.clp").c_str(), R_OK) == 0) return candidate;
    return {};
}

int List(const std::string& database, long skill) {
    std::string error;
    auto storage = scores_server::MakeStorage(database, error);
    if (!storage || !storage->Open(error)) {
        std::fprintf(stderr, "marshwade-scores: %s\n", error.c_str());
        return 1;
    }
    std::vector<scores_server::ScoreRow> rows;
    for (int64_t offset = 0;; offset += 1000) {
        if (!storage->Page(static_cast<int>(skill), offset, 1000, rows)) {
            std::fprintf(stderr, "marshwade-scores: %s\n", storage->LastError().c_str());
            return 1;
        }
        for (const auto& row : rows)
            std::printf("%lld\t%d\t%s\t%lld\n", static_cast<long long>(row.id), row.score, row.name.c_str(),
                        static_cast<long long>(row.time));
        if (rows.size() < 1000) return 0;
    }
}

int Remove(const std::string& database, long id) {
    std::string error;
    auto storage = scores_server::MakeStorage(database, error);
    if (!storage || !storage->Open(error)) {
        std::fprintf(stderr, "marshwade-scores: %s\n", error.c_str());
        return 1;
    }
    if (!storage->Remove(id)) {
        std::fprintf(stderr, "marshwade-scores: remove %ld: %s\n", id, storage->LastError().c_str());
        return 1;
    }
    std::printf("removed %ld\n", id);
    return 0;
}

int Serve(ServerSettings settings) {
    // SIGTERM and SIGINT are taken by a thread of their own rather than a handler: stopping the server
    // is not safe inside a signal handler, and the workers must finish what they have.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    scores_server::ScoreServer server(settings);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "marshwade-scores: %s\n", error.c_str());
        return 1;
    }
    std::printf("marshwade-scores: listening on http://%s:%d (%d threads, %s)\n", settings.host.c_str(),
                server.Port(), settings.threads,
                settings.database.rfind("postgres", 0) == 0 ? "postgresql" : settings.database.c_str());
    std::printf("In the game's INI: [Links] ScoresPage=http://%s:%d\n", settings.host.c_str(), server.Port());
    std::fflush(stdout);
    std::thread waiter([&] {
        int signalNumber = 0;
        sigwait(&stopSignals, &signalNumber);
        if (signalNumber != 0) server.Stop();
    });
    const bool served = server.Run();
    // Run also returns when listening fails; the waiter is then woken by a signal of our own.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    std::printf("marshwade-scores: stopped\n");
    return served ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    ServerSettings settings;
    if (const char* v = std::getenv("MARSHWADE_SCORES_LISTEN"); v && !ParseListen(v, settings)) {
        std::fprintf(stderr, "marshwade-scores: MARSHWADE_SCORES_LISTEN=%s is not HOST:PORT\n", v);
        return 2;
    }
    if (const char* v = std::getenv("MARSHWADE_SCORES_DATABASE")) settings.database = v;
    long number = 0;
    if (const char* v = std::getenv("MARSHWADE_SCORES_THREADS")) {
        if (!ParseInt(v, 1, 256, number)) {
            std::fprintf(stderr, "marshwade-scores: MARSHWADE_SCORES_THREADS=%s is not 1 to 256\n", v);
            return 2;
        }
        settings.threads = static_cast<int>(number);
    }
    settings.clipFolder = DefaultClipFolder();
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--listen" && hasValue && ParseListen(args[i + 1], settings)) {
            ++i;
        } else if (a == "--database" && hasValue) {
            settings.database = args[++i];
        } else if (a == "--threads" && hasValue && ParseInt(args[i + 1], 1, 256, number)) {
            settings.threads = static_cast<int>(number);
            ++i;
        } else if (a == "--publish-limit" && hasValue && ParseInt(args[i + 1], 1, 1000000, number)) {
            settings.publishesPerMinute = static_cast<int>(number);
            ++i;
        } else if (a == "--clips" && hasValue) {
            settings.clipFolder = args[++i];
        } else if (a == "list" && i + 3 == args.size() && args[i + 1] == "--skill" &&
                   ParseInt(args[i + 2], 0, 2, number)) {
            return List(settings.database, number);
        } else if (a == "remove" && i + 2 == args.size() && ParseInt(args[i + 1], 1, 0x7FFFFFFFL, number)) {
            return Remove(settings.database, number);
        } else {
            std::fprintf(stderr, "marshwade-scores: cannot use \"%s\" here\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    return Serve(settings);
}
