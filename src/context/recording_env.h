// The file system of a run that tells the run's recorder of every file
// written whole (documents and side files), with its size, once the write
// succeeded. Everything else passes through unchanged.
#ifndef MX_CONTEXT_RECORDING_ENV_H_
#define MX_CONTEXT_RECORDING_ENV_H_

#include <string>
#include <string_view>

#include "context/run_results.h"
#include "platform/env.h"

namespace mx {

class RecordingEnv : public EnvWrapper {
 public:
  RecordingEnv(Env* target, RunRecorder& recorder)
      : EnvWrapper(target), recorder_(recorder) {}

  void WriteFile(const std::string& path, std::string_view bytes) override {
    EnvWrapper::WriteFile(path, bytes);
    recorder_.FileWritten(path, bytes.size());
  }
  void WriteOwnerOnlyFile(const std::string& path,
                          std::string_view bytes) override {
    EnvWrapper::WriteOwnerOnlyFile(path, bytes);
    recorder_.FileWritten(path, bytes.size());
  }

 private:
  RunRecorder& recorder_;
};

}  // namespace mx

#endif  // MX_CONTEXT_RECORDING_ENV_H_
