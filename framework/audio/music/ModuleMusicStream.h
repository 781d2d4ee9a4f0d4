#pragma once

// ModuleMusicStream: a tracker module (MOD, XM, S3M, IT, MO3 and the rest that
// libopenmpt knows) rendered by libopenmpt. The format is recognised from the
// file's content, whatever its name. A looping module follows its own restart
// position, as the composer meant.

#include "framework/audio/music/MusicStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct openmpt_module;

namespace Zorvin {

class ModuleMusicStream : public MusicStream {
public:
    // Null when the bytes are not a module libopenmpt can play.
    static std::unique_ptr<ModuleMusicStream> FromMemory(const uint8_t* data, size_t size);
    static std::unique_ptr<ModuleMusicStream> FromFile(const std::string& path);

    ~ModuleMusicStream() override;

    int Read(float* out, int frames, int outputRate) override;
    bool Seek(int offset) override;
    void SetLooping(bool looping) override;
    void SetAmplify(double amount) override;
    bool IsModule() const override { return true; }

    int GetOrderCount() const;
    double GetDurationSeconds() const;

private:
    explicit ModuleMusicStream(openmpt_module* module) : module(module) {}

    openmpt_module* module;
};

} // namespace Zorvin
