#include "sound/sound_output.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace {

// Enough for a beamer's two sounds over a launch and a stop still ringing.
constexpr int SOURCE_COUNT = 12;
// Nearer than this a placed sound is at its full level: a level's cells sit
// about this far from the camera. Further off it fades as 1 / distance.
constexpr float FULL_LEVEL_DISTANCE = 12.0f;
// What OpenAL Soft calls the output that plays into nothing.
constexpr const char* SILENT_DEVICE = "No Output";

// ALSA's library prints every complaint about a machine without a sound
// card straight to stderr, a dozen lines in all; the game's one line says
// it. It is there whenever OpenAL Soft is, which needs it.
void drop_alsa_message(const char*, int, const char*, int, const char*, ...) {}

void quiet_the_sound_libraries()
{
    using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);
    if (void* set = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))
        reinterpret_cast<SetAlsaErrorHandler>(set)(drop_alsa_message);
    // OpenAL Soft's own log says the same; one set by the player stays.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
}

} // namespace

struct SoundOutput::Device {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCGETINTEGER64VSOFT get_integer64 = nullptr;
    LPALCRENDERSAMPLESSOFT render_samples = nullptr;

    ~Device()
    {
        if (context != nullptr) {
            if (alcGetCurrentContext() == context)
                alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device != nullptr)
            alcCloseDevice(device);
    }
};

Result<std::unique_ptr<SoundOutput>> SoundOutput::open_device()
{
    const Failure none{"No sound device: playing without sound."};
    quiet_the_sound_libraries();
    auto device = std::make_unique<Device>();
    device->device = alcOpenDevice(nullptr);
    if (device->device == nullptr)
        return none;
    const char* name = alcGetString(device->device, ALC_DEVICE_SPECIFIER);
    if (name != nullptr && std::strcmp(name, SILENT_DEVICE) == 0)
        return none;
    device->context = alcCreateContext(device->device, nullptr);
    if (device->context == nullptr)
        return none;
    if (alcIsExtensionPresent(device->device, "ALC_SOFT_device_clock"))
        device->get_integer64 =
            reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device->device, "alcGetInteger64vSOFT"));
    return std::unique_ptr<SoundOutput>(new SoundOutput(std::move(device)));
}

std::unique_ptr<SoundOutput> SoundOutput::open_in_memory(int32_t rate)
{
    quiet_the_sound_libraries();
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return nullptr;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto device = std::make_unique<Device>();
    device->device = open(nullptr);
    if (device->device == nullptr)
        return nullptr;
    device->render_samples =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device->device, "alcRenderSamplesSOFT"));
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, rate, ALC_HRTF_SOFT, ALC_FALSE, 0};
    device->context = alcCreateContext(device->device, attributes);
    if (device->context == nullptr)
        return nullptr;
    return std::unique_ptr<SoundOutput>(new SoundOutput(std::move(device)));
}

SoundOutput::SoundOutput(std::unique_ptr<Device> device) : device_(std::move(device))
{
    make_current();
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    sources_.resize(SOURCE_COUNT);
    alGenSources(SOURCE_COUNT, sources_.data());
    for (const uint32_t source : sources_)
        alSourcef(source, AL_REFERENCE_DISTANCE, FULL_LEVEL_DISTANCE);
}

SoundOutput::~SoundOutput()
{
    make_current();
    stop_all();
    alDeleteSources(static_cast<ALsizei>(sources_.size()), sources_.data());
    for (const uint32_t buffer : buffers_)
        if (buffer != 0)
            alDeleteBuffers(1, &buffer);
}

void SoundOutput::make_current()
{
    alcMakeContextCurrent(device_->context);
}

void SoundOutput::load(Sound sound, const SoundClip& clip)
{
    uint32_t& buffer = buffers_[static_cast<size_t>(sound)];
    if (buffer == 0)
        alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, clip.samples.data(),
                 static_cast<ALsizei>(clip.samples.size() * sizeof(int16_t)), clip.rate);
}

void SoundOutput::play(const SoundCue& cue)
{
    const uint32_t buffer = buffers_[static_cast<size_t>(cue.sound)];
    if (buffer == 0)
        return;
    // A free source if there is one; else the one started longest ago,
    // which has the least left to say.
    uint32_t source = sources_[next_source_];
    for (size_t k = 0; k < sources_.size(); ++k) {
        const size_t index = (next_source_ + k) % sources_.size();
        ALint state = AL_STOPPED;
        alGetSourcei(sources_[index], AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            source = sources_[index];
            next_source_ = index;
            break;
        }
    }
    next_source_ = (next_source_ + 1) % sources_.size();

    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_PITCH, cue.pitch);
    alSourcei(source, AL_SOURCE_RELATIVE, cue.placed ? AL_FALSE : AL_TRUE);
    const glm::vec3 where = cue.placed ? cue.where : glm::vec3(0.0f);
    alSource3f(source, AL_POSITION, where.x, where.y, where.z);
    alSourcePlay(source);
}

void SoundOutput::stop_all()
{
    for (const uint32_t source : sources_)
        alSourceStop(source);
}

void SoundOutput::set_listener(glm::vec3 eye, glm::vec3 target, glm::vec3 up)
{
    const glm::vec3 forward = glm::normalize(target - eye);
    const glm::vec3 right = glm::normalize(glm::cross(forward, up));
    const glm::vec3 true_up = glm::cross(right, forward);
    const float orientation[] = {forward.x, forward.y, forward.z, true_up.x, true_up.y, true_up.z};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundOutput::set_gain(float gain)
{
    alListenerf(AL_GAIN, gain);
}

void SoundOutput::set_sounds_gain(float gain)
{
    if (gain == sounds_gain_)
        return;
    sounds_gain_ = gain;
    for (const uint32_t source : sources_)
        alSourcef(source, AL_GAIN, gain);
}

double SoundOutput::clock_seconds() const
{
    if (device_->get_integer64 == nullptr)
        return 0.0;
    ALCint64SOFT nanoseconds = 0;
    device_->get_integer64(device_->device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return static_cast<double>(nanoseconds) * 1e-9;
}

std::vector<int16_t> SoundOutput::render(int32_t frames)
{
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    if (device_->render_samples != nullptr)
        device_->render_samples(device_->device, samples.data(), frames);
    return samples;
}
