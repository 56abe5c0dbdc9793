#include "app/jobs/job_messages.hpp"

#include "host/files.hpp"
#include "host/messages.hpp"
#include "util/text.hpp"

std::string batch_file_message(BatchFileFailure failure, std::string_view host_path,
                               std::string_view reason) {
    static constexpr std::string_view heads[] = {
        "*** Impossible to open batch input file :", "*** Error reading batch file :",
        "*** Impossible to open batch output file :", "*** Error writing batch output file :"};
    std::string msg =
        std::string(heads[int(failure)]) + message_literal(path_text(host_path)) + " ***";
    if (!reason.empty()) msg += "/" + message_literal(reason);
    return msg;
}

std::string write_failure_message(std::string_view host_path, std::string_view reason) {
    std::string why(reason);
    if (!why.empty()) why += "/";
    return batch_file_message(BatchFileFailure::write_output, host_path,
                              why + "Close the program that holds it, or choose another name");
}

std::string broken_task_message(std::string_view task, std::string_view point,
                                std::string_view infile) {
    return "Task \"" + message_literal(trim(task)) + "\" of " + message_literal(path_text(infile)) +
           " lost a point, so it is not converted: " + message_literal(point);
}
