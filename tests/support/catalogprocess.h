#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/localcatalog.h"

namespace kv::test {

// kvanta-catalog as a process of its own over `db`, on a free port of 127.0.0.1, its standard
// error in `log`; stopped with SIGTERM at the end. Header-only: the benchmarks use it too.
class CatalogProcess {
public:
    CatalogProcess(const std::string& program, const std::string& db, const std::filesystem::path& log,
                   const std::vector<std::string>& options = {})
    {
        std::vector<std::string> args = {program, "--db", db, "--listen", "127.0.0.1:0"};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid < 0) throw std::runtime_error("cannot start " + program);
        if (m_pid == 0) {
            const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) ::dup2(fd, 2);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        // The log is a file rather than a pipe: the request lines could fill a pipe nobody reads.
        const std::regex serving("kvanta-catalog: serving .* on 127\\.0\\.0\\.1:([0-9]+)");
        for (int i = 0; i < 1500; ++i) {
            std::ifstream in(log);
            std::stringstream text;
            text << in.rdbuf();
            std::smatch m;
            const std::string all = text.str();
            if (std::regex_search(all, m, serving)) {
                m_port = std::stoi(m[1].str());
                return;
            }
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                throw std::runtime_error("kvanta-catalog ended at start: " + all);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        stop();
        throw std::runtime_error("kvanta-catalog did not start serving within 15 s");
    }
    ~CatalogProcess() { stop(); }
    CatalogProcess(const CatalogProcess&) = delete;
    CatalogProcess& operator=(const CatalogProcess&) = delete;

    int Port() const { return m_port; }
    pid_t Pid() const { return m_pid; }
    std::string Post(const std::string& path, const util::TFormFields& fields) const
    {
        return PostForm(m_port, path, fields);
    }

private:
    void stop()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
    pid_t m_pid = -1;
    int m_port = 0;
};

} // namespace kv::test
