#include "sound/sound_source.h"

#include <algorithm>
#include <cstring>

namespace {

sf_count_t source_length(void* data)
{
    return static_cast<SoundSource*>(data)->size;
}

sf_count_t source_seek(sf_count_t offset, int whence, void* data)
{
    SoundSource& source = *static_cast<SoundSource*>(data);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? source.at : source.size;
    source.at = std::clamp<sf_count_t>(base + offset, 0, source.size);
    if (source.file != nullptr && fseeko(source.file, source.at, SEEK_SET) != 0)
        source.at = ftello(source.file);
    return source.at;
}

sf_count_t source_read(void* out, sf_count_t count, void* data)
{
    SoundSource& source = *static_cast<SoundSource*>(data);
    sf_count_t taken = std::clamp<sf_count_t>(count, 0, source.size - source.at);
    if (source.file != nullptr)
        taken = static_cast<sf_count_t>(std::fread(out, 1, static_cast<size_t>(taken), source.file));
    else
        std::memcpy(out, source.bytes.data() + source.at, static_cast<size_t>(taken));
    source.at += taken;
    return taken;
}

sf_count_t source_write(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t source_tell(void* data)
{
    return static_cast<SoundSource*>(data)->at;
}

} // namespace

SoundSource::~SoundSource()
{
    if (file != nullptr)
        std::fclose(file);
}

SNDFILE* open_sound_source(SoundSource& source, SF_INFO& info)
{
    SF_VIRTUAL_IO io{source_length, source_seek, source_read, source_write, source_tell};
    return sf_open_virtual(&io, SFM_READ, &info, &source);
}

uint32_t little_endian_32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}
