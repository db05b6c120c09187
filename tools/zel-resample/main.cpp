// zel-resample SOURCE "/resample=(W,H)" "/convert=DEST"
// Writes an upright W x H baseline JPEG copy of the JPEG picture SOURCE to DEST.
// Exit status 0 on success, 2 for a wrong command line, 1 for any other
// failure; every failure prints one line on stderr and leaves DEST untouched.
#include "resample_arguments.h"
#include "resample_error.h"
#include "resample_job.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

int fail(const std::string& reason, int status)
{
    std::fprintf(stderr, "zel-resample: %s\n", reason.c_str());
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        runResample(parseResampleArguments(arguments));
        return 0;
    } catch (const ArgumentError& error) {
        return fail(std::string(error.what()) + " (" + usageLine() + ")", 2);
    } catch (const ResampleError& error) {
        return fail(error.what(), 1);
    } catch (const std::bad_alloc&) {
        return fail("out of memory", 1);
    } catch (const std::exception& error) {
        return fail(error.what(), 1);
    }
}
