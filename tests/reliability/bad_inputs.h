#pragma once
// The damaged and unusual files a music folder may hold, made at test time.

#include <string>

namespace tunekist::test {

// A good song of exactly one second (44.1 kHz stereo, 128 kbit/s, LAME tag), made once per build.
std::string OneSecondSong();

// Writes each kind of file to `path`.
void WriteEmptyFile(const std::string& path);
void WriteTextFile(const std::string& path);
void WriteJpegFile(const std::string& path);   // a small picture, made with ImageMagick
void WriteWaveFile(const std::string& path);   // PCM audio in a RIFF file, made with sox
void WriteOggFile(const std::string& path);    // Ogg Vorbis audio, made with sox
void WriteSongCutInItsMiddle(const std::string& path);       // half of a two-second song
void WriteSongCutInItsFirstFrame(const std::string& path);   // a song's first 200 bytes
void WriteSongBehindHugeTag(const std::string& path);        // a 20 MB ID3v2 tag, then a song
void WriteRandomBytes(const std::string& path);              // 64 KiB of a fixed pseudo-random row
// A FIFO, a folder and a dangling symbolic link at `path`.
void MakeFifo(const std::string& path);
void MakeFolder(const std::string& path);
void MakeDanglingLink(const std::string& path);

}  // namespace tunekist::test
