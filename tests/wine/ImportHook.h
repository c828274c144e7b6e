#pragma once
// Replaces, for the life of the object, the entry of this program's import
// address table through which the launcher's units (linked into the test
// program) call one imported function: a test sees every call the code under
// test makes to it, however short its effect, or stands in for a system
// behaviour that Wine lacks.
namespace vexal::wintest {

class ImportHook {
public:
    // dll: the imported module's name as the import table writes it,
    // compared without case ("kernel32.dll").
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    // False when this program does not import the function from that module.
    bool active() const { return slot_ != nullptr; }
    // The function the entry named before (for the replacement to call on).
    void* original() const { return original_; }

private:
    void* write(void* value);

    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace vexal::wintest
