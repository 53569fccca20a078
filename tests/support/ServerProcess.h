#pragma once
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

// The real marshwade-scores program, started on 127.0.0.1 on a free port (it is given port 0 and
// says which it took), its standard error kept in a file for the test to read.
class ServerProcess {
  public:
    ServerProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::string& errFile) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            if (FILE* err = std::fopen(errFile.c_str(), "w")) dup2(fileno(err), 2);
            close(out[0]);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = fdopen(out[0], "r");
        char line[512];
        // The first line names the address: "marshwade-scores: listening on http://127.0.0.1:PORT (...)".
        if (out_ && std::fgets(line, sizeof line, out_)) {
            const std::string text = line;
            const size_t colon = text.find(':', text.find("127.0.0.1"));
            if (colon != std::string::npos) port_ = std::stoi(text.substr(colon + 1));
        }
    }
    ~ServerProcess() {
        if (pid_ > 0 && !waited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_) std::fclose(out_);
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int Port() const { return port_; }
    pid_t Pid() const { return pid_; }

    // Sends SIGTERM and waits (at most ten seconds) for the exit; the exit status, or -1.
    int Terminate() {
        kill(pid_, SIGTERM);
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                waited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    int port_ = 0;
    bool waited_ = false;
};
