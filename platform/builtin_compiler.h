#pragma once

#include <memory>
#include <string>

#include "core/settings.h"
#include "output/compiler_library.h"

namespace doxel {

// Our own help compiler (compiler/help_compiler.h) behind the compile's
// interface: it is always there and always runs to its end (what stops it
// is an "Error:" line, and no help file), compiles on the calling thread
// with the compression on every core, and its help files are read back
// with chmlib.
class BuiltInCompiler final : public CompilerLibrary {
public:
    bool load() override
    {
        m_loaded = true;
        return true;
    }
    bool isLoaded() const override { return m_loaded; }
    std::string problem() const override { return {}; }
    void init() override {}
    bool compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                 const CompilerProgressCallback& progress, CompileStatistics& statistics) override;
    void free() override { m_loaded = false; }
    void setBinaryIndex(bool on) override { m_binaryIndex = on; }
    std::unique_ptr<CompiledHelpFile> openCompiled(const std::string& compiledFile) override;

private:
    bool m_loaded = false;
    bool m_binaryIndex = false;
};

// The two compilers a user can choose, by their names in the setting
// "Compiler".
inline constexpr const char* kBuiltInCompilerName = "doxel";
inline constexpr const char* kChmcmdCompilerName = "chmcmd";

// The compiler of that name; our own for any other name.
std::unique_ptr<CompilerLibrary> makeHelpCompiler(const std::string& name);

// The compiler the settings choose, looked up again each time it is
// loaded, so a choice made in the settings dialog counts from the next
// compile on.
class ChosenCompiler final : public CompilerLibrary {
public:
    explicit ChosenCompiler(SettingsStore& settings) : m_settings(settings) {}
    bool load() override;
    bool isLoaded() const override { return m_compiler && m_compiler->isLoaded(); }
    std::string problem() const override { return m_compiler ? m_compiler->problem() : std::string(); }
    void init() override
    {
        if (m_compiler)
            m_compiler->init();
    }
    bool compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                 const CompilerProgressCallback& progress, CompileStatistics& statistics) override
    {
        return m_compiler && m_compiler->compile(helpProjectFile, log, progress, statistics);
    }
    void free() override
    {
        if (m_compiler)
            m_compiler->free();
        m_compiler.reset();
    }
    void setBinaryIndex(bool on) override
    {
        if (m_compiler)
            m_compiler->setBinaryIndex(on);
    }
    std::unique_ptr<CompiledHelpFile> openCompiled(const std::string& compiledFile) override
    {
        return m_compiler ? m_compiler->openCompiled(compiledFile) : nullptr;
    }

private:
    SettingsStore& m_settings;
    std::string m_name;
    std::unique_ptr<CompilerLibrary> m_compiler;
};

// The compiler the setting names ("doxel" when it is empty or unreadable).
std::string chosenCompilerName(SettingsStore& settings);

}  // namespace doxel
