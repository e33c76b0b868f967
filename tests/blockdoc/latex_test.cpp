// Every page blockdoc writes for the stored cases compiles as LaTeX inside a small
// document that defines the macros and environments the pages use.
#include "blockdoc_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

const char* kHarnessHead = R"(\documentclass{article}
\usepackage{color}
\usepackage{hyperref}
\newcommand{\msection}[1]{\section*{\detokenize{#1}}}
\newcommand{\mindex}[1]{}
\newcommand{\mmarginlabel}[1]{\marginpar{\small #1}}
\newcommand{\mblue}[1]{\textcolor{blue}{#1}}
\newenvironment{detaillist}{\begin{description}}{\end{description}}
\newenvironment{layoutlist}{\begin{description}}{\end{description}}
\begin{document}
)";

}  // namespace

TEST(BlockdocLatex, EveryPageCompiles) {
    const std::string pdflatex = VIREO_PDFLATEX;
    ASSERT_TRUE(fs::exists(pdflatex)) << "pdflatex (texlive-latex-base) is needed: " << pdflatex;

    // doc/ is the document's directory: pages in doc/<case>/, descriptions in doc/des/,
    // pictures beside it in pic/, as the pages' include lines expect.
    const std::string root = vireo_test::scratchDirectory("blockdoc-latex");
    const std::string doc = root + "/doc";
    std::string body;
    std::set<std::string> pictures;
    int pages = 0;
    fs::create_directories(doc + "/des");
    for (const auto& c : blockdoc_test::goldenCases()) {
        const auto o = blockdoc_test::runCase(c.name, c.args);
        ASSERT_EQ(o.run.exitStatus, c.exitStatus) << c.name << "\n" << o.run.out;
        for (const auto& [name, text] : o.pages) {
            vireo_test::writeFile(doc + "/" + c.name + "/" + name, text);
            body += "\\input{" + c.name + "/" + name + "}\n\\clearpage\n";
            ++pages;
            for (auto at = text.find("\\input{../pic/"); at != std::string::npos; at = text.find("\\input{../pic/", at + 1))
                pictures.insert(text.substr(at + 14, text.find('}', at) - at - 14));
        }
        if (fs::is_directory(o.work + "/des"))
            for (const auto& entry : fs::directory_iterator(o.work + "/des"))
                fs::copy_file(entry.path(), doc + "/des/" + entry.path().filename().string(),
                              fs::copy_options::overwrite_existing);
    }
    ASSERT_GE(pages, 15);
    for (const auto& picture : pictures)
        vireo_test::writeFile(root + "/pic/" + picture,
                              "\\fbox{\\detokenize{" + picture.substr(0, picture.size() - 4) + "}}\n");
    vireo_test::writeFile(doc + "/harness.tex", kHarnessHead + body + "\\end{document}\n");

    vireo_test::RunOptions options;
    options.program = pdflatex;
    options.workingDirectory = doc;
    options.timeoutSeconds = 120;
    const auto r = vireo_test::runVireo({"-interaction=nonstopmode", "-halt-on-error", "harness.tex"}, options);
    EXPECT_EQ(r.exitStatus, 0) << r.out.substr(r.out.size() > 3000 ? r.out.size() - 3000 : 0);
    EXPECT_TRUE(fs::exists(doc + "/harness.pdf"));
}
