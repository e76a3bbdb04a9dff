// Reading every model of the table and its images, then the font's glyph
// atlas, then whatever else the game hands it (the sounds), on a thread of
// its own, so that the processor work of start-up overlaps the window and
// context opening. OpenGL stays on the main thread: it takes the models in table
// order and uploads them, so everything is reported in the usual order.
#pragma once

#include "render/prepared_model.h"
#include "text/glyph_atlas.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class ResourcePreload {
public:
    // Asks the last job whether to give up.
    using StopCheck = std::function<bool()>;
    using Job = std::function<void(const StopCheck&)>;

    // Starts reading, from the working directory: the models, their images
    // and the glyph atlas, then the last job, if any, once every model is
    // taken.
    explicit ResourcePreload(Job last_job = {});
    // Stops after the file in hand, or between two glyphs of the atlas, and
    // waits for the thread. Take the atlas first to keep it.
    ~ResourcePreload();
    ResourcePreload(const ResourcePreload&) = delete;
    ResourcePreload& operator=(const ResourcePreload&) = delete;

    // Waits until the model at this index of the model table is read, and
    // hands it over; each index is taken once.
    PreparedModel take(int index);

    // Waits until the glyph atlas is made, after every model and image, and
    // hands it over, once; its error says when the game plays without text.
    GlyphAtlasResult take_glyph_atlas();
    // The same without waiting: nothing while the atlas is still being made.
    std::optional<GlyphAtlasResult> take_glyph_atlas_if_made();

    // Time the reader spent on models, on images and on the glyph atlas, in
    // seconds; read each once what it timed has been taken.
    double model_seconds() const { return model_seconds_; }
    double image_seconds() const { return image_seconds_; }
    double atlas_seconds() const { return atlas_seconds_; }

    // The reader has done everything it was given.
    bool finished();

private:
    void read_all();
    void make_atlas();
    bool all_models_taken();
    bool stopping();

    std::mutex mutex_;
    std::condition_variable model_ready_;
    std::vector<std::optional<PreparedModel>> models_;
    std::condition_variable model_taken_;
    int models_taken_ = 0;
    std::condition_variable atlas_ready_;
    std::optional<GlyphAtlasResult> atlas_;
    Job last_job_;
    bool finished_ = false;
    bool stopping_ = false;
    double model_seconds_ = 0.0;
    double image_seconds_ = 0.0;
    double atlas_seconds_ = 0.0;
    std::thread reader_; // last, so that it starts once the rest is built
};
