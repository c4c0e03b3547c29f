// The batch driver through zrtEvalMain: a "/sel" script and an "/i" file script
// give the same result text in every build.
#include <cstdio>
#include <string>

#include "probe.h"

#ifdef _WIN32
#include <direct.h>
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

using probe::expect;
using probe::out;
using probe::U;
using probe::Z;

namespace {

// A file name of this machine in the parameter line's form ("\" separators).
std::string scriptPath(const std::string& name) {
    char cwd[4096] = {0};
    if (!getcwd(cwd, sizeof cwd)) return name;
    std::string path = std::string(cwd) + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

PROBE_CASES(batch) {
    auto run = ZRT_FN(zrtEvalMain);
    const std::string script =
        "Var = g ; 9,81\r\nExpr = g*2\r\nHex = 255\r\nStoExpr(q) = 1/3\r\nShow(q)\r\n"
        "Matr = [mA] ; 2 ; 2 ; 1 ; 2 ; 3 ; 4\r\nShow([mA])\r\nExpr = 1/0\r\nfoo = 1";
    expect(run(Z(" /noh /sel:'" + script + "' /").c_str()) == -1, "selection run completes");
    const std::string selected = probe::evalResult();
    out("sel", selected);
    expect(selected.find("Number q = 0.3333") != std::string::npos, "StoExpr result in the text");

    const std::string file = scriptPath("probe_script.zrt");
    std::string native = file;
#ifndef _WIN32
    for (char& c : native)
        if (c == '\\') c = '/';
#endif
    if (std::FILE* f = std::fopen(native.c_str(), "wb")) {
        std::fputs(script.c_str(), f);
        std::fclose(f);
    }
    expect(run(Z("/noh /i " + file).c_str()) == -1, "file run completes");
    out("file", probe::evalResult());
    expect(probe::evalResult() == selected, "file and selection give the same output");
    std::remove(native.c_str());
    // Without "/o" or "/a" the output goes to Result.zrt beside the script.
    const std::string result = native.substr(0, native.size() - 16) + "Result.zrt";
    std::FILE* written = std::fopen(result.c_str(), "rb");
    expect(written != nullptr, "a file run without /o writes Result.zrt beside the script");
    if (written) std::fclose(written);
    std::remove(result.c_str());

    expect(run(Z("/i " + scriptPath("no_such_script.zrt")).c_str()) == -2, "missing file gives -2");
    out("rset", std::to_string(run(Z("/rset").c_str())));
    expect(run(nullptr) == -5, "null parameter line after a reset: no input");
}
