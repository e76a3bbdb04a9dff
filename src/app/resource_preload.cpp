#include "app/resource_preload.h"

#include "render/model_table.h"

#include <chrono>
#ifdef __GLIBC__
#include <malloc.h>
#endif

ResourcePreload::ResourcePreload(Job last_job)
    : models_(MODEL_COUNT), last_job_(std::move(last_job)), reader_([this] {
          read_all();
          const std::lock_guard<std::mutex> lock(mutex_);
          finished_ = true;
      })
{
}

namespace {

// The font the game writes with: fontconfig's match for it.
const char* const TEXT_FONT_FAMILY = "DejaVu Sans";

// The heap, which every thread shares, keeps freed pages until asked to
// give them back: the importer's 16 MiB read buffers, and the texels once
// uploaded. Kept, the driver's textures and first frame would add to them
// rather than reuse them.
void give_back_freed_pages()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

ResourcePreload::~ResourcePreload()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    model_taken_.notify_all();
    reader_.join();
    give_back_freed_pages();
}

// Every model is imported before any image is decoded. The importer takes
// a 16 MiB read buffer for each file and frees it; the images, which live
// until their upload, would otherwise settle in the freed space and push
// the next buffer elsewhere, and the heap keeps what it grew.
void ResourcePreload::read_all()
{
    std::vector<PreparedModel> imported;
    const auto models_begin = std::chrono::steady_clock::now();
    for (const ModelFile& entry : MODEL_TABLE) {
        if (stopping())
            return;
        imported.push_back(import_for_upload(entry.file));
    }
    const std::chrono::duration<double> models_spent = std::chrono::steady_clock::now() - models_begin;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        model_seconds_ = models_spent.count();
    }

    TextureCache cache;
    for (int index = 0; index < MODEL_COUNT; ++index) {
        if (stopping())
            return;
        const ModelFile& entry = MODEL_TABLE[static_cast<size_t>(index)];
        PreparedModel& model = imported[static_cast<size_t>(index)];
        const auto images_begin = std::chrono::steady_clock::now();
        prepare_textures(model, entry.has_mip_levels, entry.shown_as_stored, cache);
        const std::chrono::duration<double> images_spent = std::chrono::steady_clock::now() - images_begin;
        const std::lock_guard<std::mutex> lock(mutex_);
        image_seconds_ += images_spent.count();
        models_[static_cast<size_t>(index)] = std::move(model);
        model_ready_.notify_all();
    }
    // The importer's buffers first, before the uploads begin.
    give_back_freed_pages();

    // The glyph atlas comes after them: the game needs no text before its
    // models, and the atlas (about 40 ms) then overlaps their upload and the
    // first frame. A reader told to stop gives up between glyphs.
    make_atlas();
    if (last_job_ && all_models_taken()) {
        // The uploaded images' pages go back first, on every thread's heap.
        give_back_freed_pages();
        last_job_([this] { return stopping(); });
    }
}

// Until every model is taken, decoded images wait for their upload in this
// process's memory; a job that begins after them does not add to that peak.
bool ResourcePreload::all_models_taken()
{
    std::unique_lock<std::mutex> lock(mutex_);
    model_taken_.wait(lock, [this] { return stopping_ || models_taken_ == MODEL_COUNT; });
    return !stopping_;
}

void ResourcePreload::make_atlas()
{
    const auto atlas_begin = std::chrono::steady_clock::now();
    GlyphAtlasResult atlas = load_glyph_atlas(TEXT_FONT_FAMILY, [this] { return stopping(); });
    const std::chrono::duration<double> atlas_spent = std::chrono::steady_clock::now() - atlas_begin;
    const std::lock_guard<std::mutex> lock(mutex_);
    atlas_seconds_ = atlas_spent.count();
    atlas_ = std::move(atlas);
    atlas_ready_.notify_all();
}

bool ResourcePreload::finished()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
}

bool ResourcePreload::stopping()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return stopping_;
}

PreparedModel ResourcePreload::take(int index)
{
    std::unique_lock<std::mutex> lock(mutex_);
    std::optional<PreparedModel>& slot = models_.at(static_cast<size_t>(index));
    model_ready_.wait(lock, [&slot] { return slot.has_value(); });
    PreparedModel model = std::move(*slot);
    slot.reset();
    models_taken_ += 1;
    model_taken_.notify_all();
    return model;
}

std::optional<GlyphAtlasResult> ResourcePreload::take_glyph_atlas_if_made()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!atlas_.has_value())
            return std::nullopt;
    }
    return take_glyph_atlas();
}

GlyphAtlasResult ResourcePreload::take_glyph_atlas()
{
    std::unique_lock<std::mutex> lock(mutex_);
    atlas_ready_.wait(lock, [this] { return atlas_.has_value(); });
    GlyphAtlasResult atlas = std::move(*atlas_);
    atlas_.reset();
    return atlas;
}
