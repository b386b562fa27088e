#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "document/file_operations.h"

namespace verbanta::test {

/// The real file system with a hook before every call: a test can make any call fail with an
/// error number, or look at the disk between the steps of an operation. Every call is logged
/// as "op a" or "op a -> b".
class FaultyFileOperations : public SystemFileOperations {
public:
    /// Return an error number to make the call fail, 0 to let it run.
    std::function<int(const std::string& op, const std::string& a, const std::string& b)> fault;
    /// Called before and after every call that changes the disk.
    std::function<void(const std::string& op)> watch;
    std::vector<std::string> log;

    bool exists(const std::string& path) override
    {
        return run("exists", path, "", [&] { return SystemFileOperations::exists(path); });
    }
    bool remove(const std::string& path) override
    {
        return change("remove", path, "", [&] { return SystemFileOperations::remove(path); });
    }
    bool rename(const std::string& from, const std::string& to) override
    {
        return change("rename", from, to, [&] { return SystemFileOperations::rename(from, to); });
    }
    bool readFile(const std::string& path, std::string& bytes) override
    {
        return run("readFile", path, "",
                   [&] { return SystemFileOperations::readFile(path, bytes); });
    }
    int createFile(const std::string& path, unsigned mode) override
    {
        int handle = -1;
        change("createFile", path, "", [&] {
            handle = SystemFileOperations::createFile(path, mode);
            return handle >= 0;
        });
        if (handle >= 0)
            m_paths[handle] = path;
        return handle;
    }
    bool writeFile(int handle, std::string_view bytes) override
    {
        return change("writeFile", m_paths[handle], "",
                      [&] { return SystemFileOperations::writeFile(handle, bytes); });
    }
    bool flushFile(int handle) override
    {
        return run("flushFile", m_paths[handle], "",
                   [&] { return SystemFileOperations::flushFile(handle); });
    }
    bool closeFile(int handle) override
    {
        const std::string path = m_paths[handle];
        m_paths.erase(handle);
        // A refused close still closes: the descriptor must not leak.
        const bool closed = SystemFileOperations::closeFile(handle);
        return run("closeFile", path, "", [&] { return closed; });
    }
    bool copyAttributes(int handle, const FileStatus& from) override
    {
        return run("copyAttributes", m_paths[handle], "",
                   [&] { return SystemFileOperations::copyAttributes(handle, from); });
    }
    bool link(const std::string& from, const std::string& to) override
    {
        return change("link", from, to, [&] { return SystemFileOperations::link(from, to); });
    }
    bool syncDirectory(const std::string& directory) override
    {
        return run("syncDirectory", directory, "",
                   [&] { return SystemFileOperations::syncDirectory(directory); });
    }
    bool makeWritable(const std::string& path) override
    {
        return change("makeWritable", path, "",
                      [&] { return SystemFileOperations::makeWritable(path); });
    }

    /// Whether a logged call matches "op a" exactly.
    bool called(const std::string& entry) const
    {
        for (const std::string& e : log)
            if (e == entry)
                return true;
        return false;
    }
    /// The position of the first matching log entry, or -1.
    int indexOf(const std::string& entry) const
    {
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i] == entry)
                return static_cast<int>(i);
        return -1;
    }

private:
    std::map<int, std::string> m_paths;  ///< the path each open handle was created at

    template <class F>
    bool run(const char* op, const std::string& a, const std::string& b, F real)
    {
        log.push_back(std::string(op) + " " + a + (b.empty() ? "" : " -> " + b));
        if (fault) {
            if (const int error = fault(op, a, b)) {
                errno = error;
                return false;
            }
        }
        return real();
    }
    template <class F>
    bool change(const char* op, const std::string& a, const std::string& b, F real)
    {
        if (watch)
            watch(std::string("before ") + op);
        const bool ok = run(op, a, b, real);
        if (watch)
            watch(std::string("after ") + op);
        return ok;
    }
};

}  // namespace verbanta::test
