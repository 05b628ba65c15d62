// com_member_sequence: runs every member of the registry access class on a scratch
// key, through the C++ class itself or through the registered COM component's
// vtable, and writes the results for comparison with the VBScript run.
//
//   com_member_sequence class|vtable SCRATCH_KEY IMPORT_FILE EXPORT_PREFIX RESULTS_FILE
//
// Exit code 0 when the sequence ran to its end, 1 when a call failed unexpectedly (the
// results file then ends with a FAILED line), 2 for a command line it cannot read.
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "class_client.h"
#include "member_sequence.h"
#include "vtable_client.h"

int main(int argc, char** argv) {
    if (argc != 6 || (std::string(argv[1]) != "class" && std::string(argv[1]) != "vtable")) {
        std::fprintf(stderr, "usage: com_member_sequence class|vtable KEY IMPORT PREFIX RESULTS\n");
        return 2;
    }
    std::ofstream out(argv[5], std::ios::binary);
    if (CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) != S_OK) return 1;
    int code = 0;
    try {
        auto client = std::string(argv[1]) == "class" ? tarnwell::test::new_class_client()
                                                      : tarnwell::test::new_vtable_client();
        tarnwell::test::run_member_sequence(*client, {argv[2], argv[3], argv[4]}, out);
    } catch (const std::exception& error) {
        out << "FAILED: " << error.what() << "\r\n";
        code = 1;
    } catch (const tarnwell::test::raised& error) {
        out << "FAILED: raised " << error.description << "\r\n";
        code = 1;
    }
    CoUninitialize();
    return code;
}
