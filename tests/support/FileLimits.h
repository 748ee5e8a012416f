#pragma once

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace zx::test {

// While it lives, every write that would grow a file beyond `bytes` fails with EFBIG, as a full
// disk would, for root too (SIGXFSZ is ignored so the write returns instead of killing us).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const { return active_; }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

// While it lives, a process running as root acts as the unprivileged user "nobody", so
// permission checks apply as they do for a user; for any other user it does nothing. With
// `memberOf`, nobody also belongs to that group, as a user of a shared folder's group would.
class WithoutRootPrivileges {
  public:
    static constexpr gid_t NoGroup = gid_t(-1);

    explicit WithoutRootPrivileges(gid_t memberOf = NoGroup)
    {
        if (geteuid() != 0)
            return;
        oldGroup_ = getegid();
        if (memberOf != NoGroup) {
            const int n = getgroups(0, nullptr);
            oldGroups_.resize(n > 0 ? std::size_t(n) : 0);
            groupsSet_ = getgroups(n, oldGroups_.data()) == n && setgroups(1, &memberOf) == 0;
        }
        groupDropped_ = setegid(NobodyId) == 0;
        dropped_ = seteuid(NobodyId) == 0;
    }
    ~WithoutRootPrivileges()
    {
        if (dropped_)
            (void)seteuid(0);
        if (groupDropped_)
            (void)setegid(oldGroup_);
        if (groupsSet_)
            (void)setgroups(oldGroups_.size(), oldGroups_.data());
    }
    WithoutRootPrivileges(const WithoutRootPrivileges &) = delete;
    WithoutRootPrivileges &operator=(const WithoutRootPrivileges &) = delete;
    // false when running as root and the privileges could not be dropped.
    bool effective() const { return geteuid() != 0; }

  private:
    static constexpr uid_t NobodyId = 65534;
    gid_t oldGroup_ = 0;
    std::vector<gid_t> oldGroups_;
    bool groupsSet_ = false;
    bool groupDropped_ = false;
    bool dropped_ = false;
};

} // namespace zx::test
