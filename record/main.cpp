// The entry point of showcase-record: the options, then the recording.
#include "record/options.h"
#include "record/recorder.h"

int main(int argc, char** argv) {
    record::Options options;
    const int status = record::ParseOptions(argc, argv, options, stdout, stderr);
    if (status >= 0) return status;
    return record::RecordShow(options);
}
