#include "tests/framework/audio/AudioTestFiles.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace AudioTestFiles {

namespace {

void AppendPage(Bytes& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

void Be32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void Le32(Bytes& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void Le16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Be16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

} // namespace

Bytes OggTone(int rate, int channels, double frequency, double seconds)
{
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.5f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    Bytes out;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        AppendPage(out, page);

    const long total = static_cast<long>(rate * seconds);
    long written = 0;
    bool eos = false;
    while (!eos) {
        long n = std::min(1024L, total - written);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long i = 0; i < n; ++i) {
                float v = static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * (written + i) / rate));
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = v;
            }
            written += n;
        }
        vorbis_analysis_wrote(&dsp, n > 0 ? static_cast<int>(n) : 0);
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page))
                        eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

Bytes Au(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data, uint32_t sizeField)
{
    Bytes out = {'.', 's', 'n', 'd'};
    Be32(out, 24);
    Be32(out, sizeField == 0xFFFFFFFEu ? static_cast<uint32_t>(data.size()) : sizeField);
    Be32(out, encoding);
    Be32(out, rate);
    Be32(out, channels);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes Wav(int rate, int channels, const std::vector<int16_t>& samples)
{
    Bytes out = {'R', 'I', 'F', 'F'};
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Le32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Le32(out, 16);
    Le16(out, 1);
    Le16(out, static_cast<uint16_t>(channels));
    Le32(out, static_cast<uint32_t>(rate));
    Le32(out, static_cast<uint32_t>(rate * channels * 2));
    Le16(out, static_cast<uint16_t>(channels * 2));
    Le16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Le32(out, dataBytes);
    for (int16_t s : samples)
        Le16(out, static_cast<uint16_t>(s));
    return out;
}

Bytes Module(int orders)
{
    const int sampleBytes = 64;
    Bytes out(20, 0);
    const char title[] = "korvelt test";
    std::copy(title, title + sizeof title - 1, out.begin());
    for (int i = 0; i < 31; ++i) {
        Bytes header(30, 0);
        if (i == 0) {
            header[0] = 's';
            header[22] = 0;
            header[23] = sampleBytes / 2; // length in words
            header[25] = 64;              // volume
            header[26] = 0;
            header[27] = 0;               // loop start
            header[28] = 0;
            header[29] = sampleBytes / 2; // loop length in words
        } else {
            header[29] = 1;
        }
        out.insert(out.end(), header.begin(), header.end());
    }
    out.push_back(static_cast<uint8_t>(orders));
    out.push_back(127);
    for (int i = 0; i < 128; ++i)
        out.push_back(static_cast<uint8_t>(i < orders ? i : 0));
    out.insert(out.end(), {'M', '.', 'K', '.'});
    for (int p = 0; p < orders; ++p) {
        for (int row = 0; row < 64; ++row) {
            for (int channel = 0; channel < 4; ++channel) {
                if (row == 0 && channel == 0) {
                    uint16_t period = 428; // C in the middle octave
                    out.push_back(static_cast<uint8_t>((period >> 8) & 0x0F));
                    out.push_back(static_cast<uint8_t>(period & 0xFF));
                    out.push_back(0x10); // sample 1, no effect
                    out.push_back(0);
                } else {
                    Be16(out, 0);
                    Be16(out, 0);
                }
            }
        }
    }
    for (int i = 0; i < sampleBytes; ++i)
        out.push_back(static_cast<uint8_t>(i < sampleBytes / 2 ? 100 : -100));
    return out;
}

void Write(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvelt-audio-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path = made ? made : pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

int Peak(const std::vector<int16_t>& stereo, int channel)
{
    int peak = 0;
    for (size_t i = channel; i < stereo.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(stereo[i])));
    return peak;
}

int Crossings(const std::vector<int16_t>& stereo, int channel)
{
    int count = 0;
    for (size_t i = channel + 2; i < stereo.size(); i += 2)
        if (stereo[i - 2] < 0 && stereo[i] >= 0)
            ++count;
    return count;
}

} // namespace AudioTestFiles
