// The parts of an exported workbook are deflated at zlib's fastest level.
//
// libxlsxwriter hands every part of the workbook to minizip at zlib's default level (6) and offers no
// setting for it; on the 20,000-student table that compression is a third of the whole export. Level 1
// writes a file about a sixth larger in well under half the time, which keeps `scorvane-cli xlsx` as
// quick as the comma-separated export. The program defines minizip's entry point that libxlsxwriter
// calls, so the dynamic linker binds the library to this definition; it passes every argument on to
// minizip's own function unchanged except the level. (Should a later libxlsxwriter call another entry
// point, this one is simply not used and the workbook is compressed at the library's level.)
#include <dlfcn.h>

extern "C" {

using ZipOpenNewFile = int (*)(void* file, const char* filename, const void* zipfi,
                               const void* extrafieldLocal, unsigned sizeExtrafieldLocal,
                               const void* extrafieldGlobal, unsigned sizeExtrafieldGlobal,
                               const char* comment, int method, int level, int raw, int windowBits,
                               int memLevel, int strategy, const char* password, unsigned long crcForCrypting,
                               unsigned long versionMadeBy, unsigned long flagBase, int zip64);

__attribute__((visibility("default"))) int zipOpenNewFileInZip4_64(
    void* file, const char* filename, const void* zipfi, const void* extrafieldLocal,
    unsigned sizeExtrafieldLocal, const void* extrafieldGlobal, unsigned sizeExtrafieldGlobal,
    const char* comment, int method, int level, int raw, int windowBits, int memLevel, int strategy,
    const char* password, unsigned long crcForCrypting, unsigned long versionMadeBy, unsigned long flagBase,
    int zip64) {
    static const auto minizip = reinterpret_cast<ZipOpenNewFile>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!minizip) {
        return -104;  // ZIP_INTERNALERROR: the workbook is reported as not written
    }
    constexpr int kFastest = 1;  // Z_BEST_SPEED
    return minizip(file, filename, zipfi, extrafieldLocal, sizeExtrafieldLocal, extrafieldGlobal,
                   sizeExtrafieldGlobal, comment, method, level == 0 ? 0 : kFastest, raw, windowBits,
                   memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
}

}  // extern "C"
