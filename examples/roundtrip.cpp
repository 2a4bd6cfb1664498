// A program built against the vormi library, as a user would write it: it
// round-trips a buffer and a file, and can check that the library codes a file
// exactly as the vormi program does.
//
//     vormi-roundtrip FOLDER [SOURCE PACKED [LIMIT]]
//
// FOLDER takes the example's own files. With SOURCE and PACKED (a file the
// vormi program packed from SOURCE with the halving limit LIMIT, 1280 if not
// given), the coded stream inside PACKED must equal EncodeBuffer of SOURCE.
#include <vormi/vormi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool Check(bool condition, const char* what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what);
    return condition;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER [SOURCE PACKED [LIMIT]]\n", argv[0]);
        return 2;
    }
    std::printf("vormi %s\n", VORMI_VERSION_STRING);
    const std::string folder = argv[1];
    bool ok = true;

    Bytes data;
    for (int i = 0; i < 100000; ++i) data.push_back(static_cast<uint8_t>("abracadabra, "[i % 13] + i / 5000));
    const Bytes stream = vormi::EncodeBuffer(data);
    Bytes restored(data.size());
    ok &= Check(vormi::DecodeBuffer(stream, restored) && restored == data, "a buffer comes back");

    const std::string source = folder + "/example.bin";
    const std::string packed = folder + "/example.zk";
    const std::string unpacked = folder + "/example.out";
    WriteAll(source, data);
    ok &= Check(vormi::PackFile(source, packed, 4096) == vormi::zkeNone, "a file packs");
    ok &= Check(vormi::UnpackFile(packed, unpacked, 4096) == vormi::zkeNone && ReadAll(unpacked) == data,
                "the file comes back");
    ok &= Check(vormi::UnpackFile(packed, unpacked) == vormi::zkeBadHalveLimit,
                "another halving limit is refused");

    if (argc >= 4) {
        const uint32_t limit = argc == 5 ? static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)) : 1280;
        const Bytes file = ReadAll(argv[3]);
        // The stream lies after the 55-byte header and the information block,
        // before the 4-byte end marker.
        const size_t start = file.size() >= 57 ? 57 + (file[55] | file[56] << 8) : file.size();
        const bool framed = file.size() >= start + 4;
        const Bytes inside = framed ? Bytes(file.begin() + static_cast<std::ptrdiff_t>(start), file.end() - 4) : Bytes{};
        ok &= Check(framed && vormi::EncodeBuffer(ReadAll(argv[2]), limit) == inside,
                    "the library's stream is the program's");
    }
    return ok ? 0 : 1;
}
