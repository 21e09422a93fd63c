#include "ui/sample_file.h"

void SampleFile::Open(const std::string& path) {
  Close();
  if (!file_.Open(path)) return;
  reader_.emplace([this](char* buffer, std::size_t capacity) { return file_.Read(buffer, capacity); },
                  kBufferSize);
}

bool SampleFile::ReadLine(std::string& line) {
  if (!reader_) return false;
  std::string_view next;
  if (reader_->ReadLine(next) != LineReader::Result::kLine) return false;
  line.assign(next);
  return true;
}

void SampleFile::Close() {
  reader_.reset();
  file_.Close();
}
