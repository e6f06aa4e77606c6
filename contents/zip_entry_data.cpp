#include "contents/zip_entry_data.h"

#include <zlib.h>

#include <algorithm>
#include <functional>

#include "contents/byte_span.h"
#include "contents/content_limits.h"

namespace {

const uint64_t LocalHeaderBytes = 30;

// Checks bytes handed over piece by piece against the entry's size and CRC;
// hands them on to `keep` when given.
class DataCheck {
public:
    DataCheck(const ZipEntry& entry, const std::function<void(const char*, size_t)>& keep)
        : entry_(entry), keep_(keep)
    {
    }
    bool Take(const char* bytes, size_t length)
    {
        if (length > entry_.uncompressedSize - produced_)
            return false;
        produced_ += length;
        crc_ = crc32_z(crc_, reinterpret_cast<const Bytef*>(bytes), length);
        if (keep_)
            keep_(bytes, length);
        return true;
    }
    bool Complete() const { return produced_ == entry_.uncompressedSize && crc_ == entry_.crc; }

private:
    const ZipEntry& entry_;
    std::function<void(const char*, size_t)> keep_;
    uint64_t produced_ = 0;
    uLong crc_ = crc32_z(0, nullptr, 0);
};

// A raw deflate stream, inflated into a buffer of at most ContentsChunkBytes
// (less for a small entry: archives hold many).
class Inflater {
public:
    explicit Inflater(uint64_t size)
        : ready_(inflateInit2(&stream_, -MAX_WBITS) == Z_OK),
          out_(static_cast<size_t>(std::min(std::max<uint64_t>(size + 1, 4096), ContentsChunkBytes)), '\0')
    {
    }
    ~Inflater()
    {
        if (ready_)
            inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates one piece of input; false on a malformed stream, on input
    // after the stream's end, or when `check` refuses the output.
    bool Take(const char* bytes, size_t length, DataCheck& check)
    {
        if (!ready_ || (ended_ && length > 0))
            return false;
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes));
        stream_.avail_in = static_cast<uInt>(length);
        // On while input is left or the last round filled the whole buffer
        // (zlib may hold more output back for want of room).
        do {
            stream_.next_out = reinterpret_cast<Bytef*>(&out_[0]);
            stream_.avail_out = static_cast<uInt>(out_.size());
            int result = inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_BUF_ERROR && stream_.avail_in == 0)
                break;
            if (result != Z_OK && result != Z_STREAM_END)
                return false;
            ended_ = result == Z_STREAM_END;
            if (!check.Take(out_.data(), out_.size() - stream_.avail_out))
                return false;
        } while (!ended_ && (stream_.avail_in > 0 || stream_.avail_out == 0));
        return stream_.avail_in == 0;
    }
    bool Ended() const { return ended_; }

private:
    z_stream stream_ = {};
    bool ready_;
    bool ended_ = false;
    std::string out_;
};

bool DataStreams(ByteSourceReader& reader, const ZipEntry& entry, uint64_t dataOffset,
                 const std::function<void(const char*, size_t)>& keep)
{
    DataCheck check(entry, keep);
    if (entry.method == ZipMethodStored) {
        return entry.compressedSize == entry.uncompressedSize
               && reader.Stream(dataOffset, entry.compressedSize,
                                [&](const char* bytes, size_t length) { return check.Take(bytes, length); })
               && check.Complete();
    }
    if (entry.method != ZipMethodDeflated)
        return false;
    Inflater inflater(entry.uncompressedSize);
    return reader.Stream(dataOffset, entry.compressedSize,
                         [&](const char* bytes, size_t length) { return inflater.Take(bytes, length, check); })
           && inflater.Ended() && check.Complete();
}

}  // namespace

namespace {

// Whether a local header says what the central directory says of its entry:
// the same method, and, unless its data descriptor follows the data, the
// same CRC and sizes (or 0xFFFFFFFF, when its ZIP64 extra field holds them).
bool LocalHeaderAgrees(const ByteSpan& fields, const ZipEntry& entry)
{
    auto sizeAgrees = [](uint32_t local, uint64_t central) { return local == central || local == 0xFFFFFFFF; };
    if (fields.U16(8) != entry.method)
        return false;
    return (fields.U16(6) & ZipFlagDataDescriptor)
           || (fields.U32(14) == entry.crc && sizeAgrees(fields.U32(18), entry.compressedSize)
               && sizeAgrees(fields.U32(22), entry.uncompressedSize));
}

}  // namespace

bool ZipEntryDataOffset(ByteSourceReader& reader, const ZipEntry& entry, uint64_t* dataOffset)
{
    std::string header, name;
    if (!reader.Read(entry.localHeaderOffset, LocalHeaderBytes, &header) || header.compare(0, 4, "PK\3\4") != 0
        || !LocalHeaderAgrees(ByteSpan(header), entry))
        return false;
    ByteSpan fields(header);
    uint64_t nameAt = entry.localHeaderOffset + LocalHeaderBytes;
    if (!reader.Read(nameAt, fields.U16(26), &name) || name != entry.name)
        return false;
    *dataOffset = nameAt + fields.U16(26) + fields.U16(28);
    return true;
}

bool ZipEntryDataChecks(ByteSourceReader& reader, const ZipEntry& entry, uint64_t dataOffset)
{
    if (entry.flags & (ZipFlagEncrypted | ZipFlagStrongEncryption))
        return false;
    return DataStreams(reader, entry, dataOffset, nullptr);
}

bool ZipEntryDataRead(const ByteSource& archive, const ZipEntry& entry, uint64_t limit, std::string* data)
{
    ByteSourceReader reader(archive);
    uint64_t dataOffset = 0;
    if (entry.uncompressedSize > limit || (entry.flags & (ZipFlagEncrypted | ZipFlagStrongEncryption))
        || !ZipEntryDataOffset(reader, entry, &dataOffset))
        return false;
    data->clear();
    data->reserve(static_cast<size_t>(std::min(entry.uncompressedSize, ContentsChunkBytes)));
    return DataStreams(reader, entry, dataOffset, [&](const char* bytes, size_t length) { data->append(bytes, length); });
}
