#pragma once
// The sequence of calls that exercises every member on a scratch key, and writes one
// line per call: "label: result", CR LF ended. member_sequence.vbs beside it makes the
// same calls from VBScript and writes the same lines.
#include <ostream>
#include <string>

#include "registry_client.h"

namespace tarnwell::test {

struct SequencePlaces {
    std::string scratch_key;    // "HKCU\Software\..."; the tree is left there at the end
    std::string import_file;    // a REGEDIT4 file that makes scratch_key\imported
    std::string export_prefix;  // the export files are this + "tree.reg" and so on
};

void run_member_sequence(RegistryClient& client, const SequencePlaces& places, std::ostream& out);

}  // namespace tarnwell::test
