#pragma once
// Replaces, in this program's own import table, the address of a function it
// imports, so that a test sees every call the code under test makes to it
// (the calls themselves, however short the effect they have).
namespace vexal::wintest {

// dll: the imported module's name as the import table writes it, compared
// without case ("kernel32.dll"); returns the former address, or nullptr when
// this program does not import the function from that module.
void* replaceImport(const char* dll, const char* function, void* replacement);

}  // namespace vexal::wintest
