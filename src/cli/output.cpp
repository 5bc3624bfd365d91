#include "output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <ostream>
#include <string>

#include "file_io.h"

namespace wirelark::cli {

void prepareStandardOutput() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

int finishOutput(std::ostream& out, std::ostream& err, int code) {
    // A stream that already failed did so at its last write, whose reason errno still holds.
    int error = !out ? errno : 0;
    if (out) {
        errno = 0;
        out.flush();
        if (!out)
            error = errno;
    }
    bool lost = !out;
    // Standard output's own buffer lies below the stream: what it still holds is written now.
    if (&out == &std::cout) {
        errno = 0;
        if (std::fflush(stdout) != 0) {
            lost = true;
            if (errno != 0)
                error = errno;
        }
        if (std::ferror(stdout))
            lost = true;
    }
    if (!lost)
        return code;
    err << "標準出力に書き込めません。"
        << (error != 0 ? systemErrorText(error) : std::string("書き込みが途中で失敗しました"))
        << "。\n";
    return 2;
}

}  // namespace wirelark::cli
