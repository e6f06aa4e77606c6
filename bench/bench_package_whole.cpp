// The wholeness check of a large ".apk" and a large ".paf.exe" (a gigabyte
// each by default, or as many megabytes as the first argument says),
// against a plain sequential read of the same file through the same kind of
// handle, on the disk and on a RAM disk (/dev/shm). Rounds alternate between
// the two, and the figures are ratios to the read of the same round's best.
//
// The archive holds 4 MB entries, stored random bytes and deflated text in
// turn, as an Android package's assets are; the installer is a program
// followed by NSIS installer data of random bytes with its CRC.
#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "support/made_up_package.h"
#include "support/temp_folder.h"
#include "watch/package_whole.h"

#include "bench_window.h"

namespace {

const size_t EntryBytes = 4 << 20;
const int Rounds = 3;

// Appends to a file through one handle, keeping count of where it stands.
class Writer {
public:
    explicit Writer(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
    {
    }
    ~Writer() { CloseHandle(file_); }
    void Put(const std::string& bytes)
    {
        DWORD written = 0;
        WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        at_ += written;
    }
    uint64_t At() const { return at_; }

private:
    HANDLE file_;
    uint64_t at_ = 0;
};

std::string RandomBytes(std::mt19937& random, size_t length)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i + 4 <= length; i += 4) {
        uint32_t value = random();
        bytes.replace(i, 4, reinterpret_cast<const char*>(&value), 4);
    }
    return bytes;
}

// Text that deflates to about a third: lines with numbers in them.
std::string Text(std::mt19937& random, size_t length)
{
    std::string text;
    while (text.size() < length)
        text += "entry " + std::to_string(random() % 100000) + " of the asset, value " + std::to_string(random()) + "\n";
    text.resize(length);
    return text;
}

std::string Deflated(const std::string& bytes)
{
    z_stream stream = {};
    deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

void MakeArchive(const std::string& path, uint64_t size)
{
    std::mt19937 random(1);
    Writer out(path);
    std::string directory;
    int count = 0;
    while (out.At() + EntryBytes < size) {
        bool deflate = count % 2 == 1;
        std::string data = deflate ? Text(random, EntryBytes * 3) : RandomBytes(random, EntryBytes);
        std::string stored = deflate ? Deflated(data) : data;
        std::string name = "assets/a" + std::to_string(count++) + ".bin";
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
        std::string fields = LittleEndian(20, 2) + LittleEndian(0, 2) + LittleEndian(deflate ? 8 : 0, 2)
                             + LittleEndian(0, 4) + LittleEndian(crc, 4) + LittleEndian(stored.size(), 4)
                             + LittleEndian(data.size(), 4) + LittleEndian(name.size(), 2);
        directory += "PK\1\2" + LittleEndian(20, 2) + fields + LittleEndian(0, 12) + LittleEndian(out.At(), 4) + name;
        out.Put("PK\3\4" + fields + LittleEndian(0, 2) + name);
        out.Put(stored);
    }
    uint64_t start = out.At();
    out.Put(directory + "PK\5\6" + LittleEndian(0, 4) + LittleEndian(count, 2) + LittleEndian(count, 2)
            + LittleEndian(directory.size(), 4) + LittleEndian(start, 4) + LittleEndian(0, 2));
}

void MakeInstaller(const std::string& path, uint64_t size)
{
    std::mt19937 random(2);
    Writer out(path);
    std::string head = MadeUpProgram(0, MadeUpInstaller(size - 1024, 28));
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(head.data() + 512), static_cast<uInt>(head.size() - 512));
    out.Put(head);
    while (out.At() < size - 4) {
        std::string piece = RandomBytes(random, static_cast<size_t>(std::min<uint64_t>(EntryBytes, size - 4 - out.At())));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size()));
        out.Put(piece);
    }
    out.Put(LittleEndian(crc, 4));
}

// Reads the whole file front to back in pieces of a megabyte.
uint64_t PlainRead(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string buffer(1 << 20, '\0');
    uint64_t total = 0;
    DWORD read = 0;
    while (ReadFile(file, &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0)
        total += read;
    CloseHandle(file);
    return total;
}

PackageWholeness Check(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    PackageWholeness whole = PackageWholenessOfHandle(file, path);
    CloseHandle(file);
    return whole;
}

void Measure(const char* where, const std::string& folder, uint64_t size)
{
    const struct {
        const char* name;
        void (*make)(const std::string&, uint64_t);
    } kinds[] = {{"Large.apk", MakeArchive}, {"Large.paf.exe", MakeInstaller}};
    for (const auto& kind : kinds) {
        std::string path = folder + kind.name;
        kind.make(path, size);
        double bestRead = 1e30, bestCheck = 1e30;
        PackageWholeness whole = PackageWholeness::NotWhole;
        for (int round = 0; round < Rounds; ++round) {
            double start = BenchNow();
            PlainRead(path);
            double read = BenchNow();
            whole = Check(path);
            bestRead = std::min(bestRead, read - start);
            bestCheck = std::min(bestCheck, BenchNow() - read);
        }
        std::printf("%s, %s of %llu MB (%s): plain read %.3f s, wholeness check %.3f s, %.2fx the read\n", where,
                    kind.name, static_cast<unsigned long long>(size >> 20),
                    whole == PackageWholeness::Whole ? "whole" : "NOT whole", bestRead, bestCheck, bestCheck / bestRead);
        DeleteFileA(path.c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    uint64_t size = std::max<uint64_t>(megabytes, 8) << 20;
    {
        TempFolder disk;
        Measure("disk", disk.path(), size);
    }
    std::string ram = BenchRamFolder("quillet-bench-whole");
    if (!ram.empty()) {
        Measure("RAM disk", ram, size);
        RemoveTree(ram);
    }
    return 0;
}
