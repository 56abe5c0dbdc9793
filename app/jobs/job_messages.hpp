// The messages of a file job's files and tasks, shared by the batch, the task list and the plan
// back to .cup: files that cannot be opened, read or written, and a task that lost a point.
#pragma once

#include <string>
#include <string_view>

// The messages of batch files (host paths) that cannot be opened, read or written; the
// system's `reason` (Windows-1252), when there is one, on the next line.
enum class BatchFileFailure { open_input, read_input, open_output, write_output };
std::string batch_file_message(BatchFileFailure failure, std::string_view host_path,
                               std::string_view reason = {});
// An output that could not be put in place: the system's reason and what the user can do.
std::string write_failure_message(std::string_view host_path, std::string_view reason);
// The stop of a task that lost a point: `point` says which and why ("point \"Pass\", line 12:
// ..."), `infile` is a host path.
std::string broken_task_message(std::string_view task, std::string_view point,
                                std::string_view infile);
