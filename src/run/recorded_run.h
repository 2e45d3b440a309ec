// A generation run as its results see it: the recorder of the generator
// object told when the run starts and ends, and every file the run writes
// recorded with its size. The run's own work is left as it is.
#ifndef MX_RUN_RECORDED_RUN_H_
#define MX_RUN_RECORDED_RUN_H_

#include "context/generator_context.h"
#include "context/recording_env.h"
#include "movx20xmlgen/error.h"

namespace mx {

template <typename Run>
bool RecordedRun(GeneratorContext& ctx, Run&& run) {
  Env* const env = ctx.env;
  RecordingEnv recording(env, ctx.recorder);
  ctx.env = &recording;
  ctx.recorder.StartRun(*ctx.clock, ctx.counts);
  bool result = false;
  try {
    result = run();
  } catch (const VbError& e) {
    ctx.env = env;
    ctx.recorder.RunFailed(e);
    ctx.recorder.EndRun(false);
    throw;
  } catch (...) {
    ctx.env = env;
    ctx.recorder.EndRun(false);
    throw;
  }
  ctx.env = env;
  ctx.recorder.EndRun(result);
  return result;
}

}  // namespace mx

#endif  // MX_RUN_RECORDED_RUN_H_
