#include "Core/Sound/Mixer/Mixer.h"

#include <SDL.h>

namespace mixer
{
namespace
{
// Plays the mix through SDL's default audio device; SDL's audio thread pulls blocks from Mixer::Mix.
class SdlOutput final : public OutputDevice
{
public:
    explicit SdlOutput(Mixer& mixer) : mMixer(mixer) {}

    bool Open()
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        mSubsystem = true;
        SDL_AudioSpec want{};
        want.freq = int(kOutputRate);
        want.format = AUDIO_F32SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &SdlOutput::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No allowed changes: SDL converts our float stereo to whatever the hardware takes.
        mDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (mDevice == 0)
            return false;
        SDL_PauseAudioDevice(mDevice, 0);
        return true;
    }

    ~SdlOutput() override
    {
        if (mDevice != 0)
            SDL_CloseAudioDevice(mDevice); // waits for the audio thread to finish
        if (mSubsystem)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    static void SDLCALL Callback(void* user, Uint8* stream, int len)
    {
        auto* self = static_cast<SdlOutput*>(user);
        self->mMixer.Mix(reinterpret_cast<float*>(stream), std::uint32_t(len) / (2 * sizeof(float)));
    }

    Mixer& mMixer;
    SDL_AudioDeviceID mDevice = 0;
    bool mSubsystem = false;
};
} // namespace

std::unique_ptr<OutputDevice> OpenDefaultOutput(Mixer& mixer)
{
    auto output = std::make_unique<SdlOutput>(mixer);
    if (!output->Open())
        return nullptr;
    return output;
}
} // namespace mixer
