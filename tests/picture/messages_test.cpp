// The libraries' messages as records: a line sent in pieces is one record, its severity from
// the word it begins with, and the callback is given back as it was.
#include <picture/messages.h>

#include <iff/error.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using picture::Message;
using picture::Severity;

std::string seen;

TEST(MessageCapture, LinesBecomeRecordsInNestedCapturesAndTheCallbackIsGivenBack) {
    IFF_errorCallback = [](const char *format, va_list ap) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, ap);
        seen += text;
    };
    {
        const picture::MessageCapture outer;
        IFF_error("WARNING: outer\n");
        {
            const std::string longPart(700, 'x');
            const picture::MessageCapture inner;
            IFF_ID id = {'B', 'M', 'H', 'D'};
            IFF_readError(id, "nPlanes"); // three calls: "Error reading '", the ID, "'.nPlanes\n"
            IFF_error("WARNING: Padding byte is non-zero!\n");
            IFF_error("ERROR: %s\n", longPart.c_str());
            IFF_error("Warning: the last line has no newline");
            EXPECT_EQ(inner.messages(),
                      (std::vector<Message>{{Severity::Error, "Error reading 'BMHD'.nPlanes"},
                                            {Severity::Warning, "Padding byte is non-zero"},
                                            {Severity::Error, longPart},
                                            {Severity::Warning, "the last line has no newline"}}));
            EXPECT_TRUE(inner.hasError());
        }
        IFF_error("WARNING: outer again\n");
        EXPECT_EQ(outer.messages(), (std::vector<Message>{{Severity::Warning, "outer"},
                                                          {Severity::Warning, "outer again"}}));
        EXPECT_FALSE(outer.hasError());
        // Another thread's messages are its own.
        std::thread([] { EXPECT_EQ(IFF_errorCallback, IFF_errorCallbackStderr); }).join();
    }
    IFF_error("after\n");
    IFF_errorCallback = IFF_errorCallbackStderr;
    EXPECT_EQ(seen, "after\n");
}

} // namespace
