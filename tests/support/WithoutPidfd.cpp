// Runs a program where the kernel refuses pidfd_open, as before Linux 5.3 or in a sandbox that
// filters it: "olvane-without-pidfd <program> <arguments>…". Every process it starts inherits the
// refusal.
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: olvane-without-pidfd <program> <arguments>…\n", stderr);
        return 2;
    }
    // The number is that of the machine's own calls; those of another architecture pass.
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_pidfd_open, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::perror("olvane-without-pidfd");
        return 1;
    }
    ::execv(argv[1], argv + 1);
    std::perror("olvane-without-pidfd");
    return 127;
}
