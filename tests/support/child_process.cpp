#include "support/child_process.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace wavecrest::testing {
namespace {

void MakePipe(int (&fds)[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

const passwd& Nobody() {
  const passwd* const nobody = ::getpwnam("nobody");
  if (!nobody) throw std::runtime_error("no user nobody");
  return *nobody;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  int in[2], out[2], err[2];
  MakePipe(in);
  MakePipe(out);
  MakePipe(err);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e) envText.emplace_back(*e);
  envText.insert(envText.end(), env.begin(), env.end());
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : envText) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  const int failed = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  in_ = in[1];
  out_fd_ = out[0];
  err_fd_ = err[0];
  // A closed pipe must not kill the test when the program has gone.
  ::signal(SIGPIPE, SIG_IGN);
  if (failed != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
  pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int* fd : {&in_, &out_fd_, &err_fd_, &pidfd_}) CloseFd(*fd);
}

void ChildProcess::Write(std::string_view text) {
  while (!text.empty() && in_ >= 0) {
    const ssize_t n = ::write(in_, text.data(), text.size());
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

void ChildProcess::CloseInput() { CloseFd(in_); }

void ChildProcess::Signal(int signal) {
  if (!status_) ::kill(pid_, signal);
}

std::optional<int> ChildProcess::Exit(double seconds) {
  WaitUntil([&] { return status_ && out_fd_ < 0 && err_fd_ < 0; }, seconds);
  if (!status_ || out_fd_ >= 0 || err_fd_ >= 0) return std::nullopt;
  return status_;
}

std::vector<int> ChildProcess::WaitFds() const {
  std::vector<int> fds;
  for (const int fd : {out_fd_, err_fd_}) {
    if (fd >= 0) fds.push_back(fd);
  }
  if (!status_ && pidfd_ >= 0) fds.push_back(pidfd_);
  return fds;
}

void ChildProcess::OnReadable(int fd) {
  if (fd == pidfd_) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    return;
  }
  char buffer[65536];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) {
    CloseFd(fd == out_fd_ ? out_fd_ : err_fd_);
    return;
  }
  (fd == out_fd_ ? out_ : err_).append(buffer, static_cast<std::size_t>(n));
}

std::vector<std::string> Unprivileged(std::vector<std::string> argv) {
  if (::geteuid() != 0) return argv;
  const passwd& nobody = Nobody();
  argv.insert(argv.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody.pw_uid),
                             "--regid=" + std::to_string(nobody.pw_gid), "--clear-groups", "--"});
  return argv;
}

void HandOver(const std::string& path) {
  if (::geteuid() != 0) return;
  const passwd& nobody = Nobody();
  const auto give = [&](const std::filesystem::path& p) {
    if (::lchown(p.c_str(), nobody.pw_uid, nobody.pw_gid) != 0) throw std::runtime_error("cannot hand over " + p.string());
  };
  give(path);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) give(entry.path());
}

}  // namespace wavecrest::testing
