// The Python module quorvin._quorvin: the embedding API for Python. The
// package quorvin (quorvin/__init__.py) re-exports it; its docstrings are
// the reference, its stubs are quorvin/_quorvin.pyi.
//
// A KnowledgeBase keeps a pool of sessions: every consultation borrows one,
// so a session's net is built once per thread that consults, not once per
// case. Consultations without a callback run with the GIL released, and
// consult_many runs its cases on several threads at once.
#include <pybind11/eval.h>
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "quorvin/quorvin.h"

namespace py = pybind11;

namespace {

// What a Python consultation gives back: the result and, when asked, how
// every goal got its value.
struct PyResult {
    quorvin::Result result;
    std::map<std::string, std::string> explanations;
};

const char *NodeKindName(quorvin::NodeKind kind) {
    static const char *const names[] = {"bayesian", "and", "or", "not"};
    return names[static_cast<int>(kind)];
}

// Sessions of one knowledge base, lent out one consultation at a time.
class SessionPool {
public:
    SessionPool(quorvin::KnowledgeBase kb, quorvin::SessionOptions options) : kb(std::move(kb)), options(options) {}

    std::unique_ptr<quorvin::Session> Take() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!idle.empty()) {
                auto session = std::move(idle.back());
                idle.pop_back();
                return session;
            }
        }
        return std::make_unique<quorvin::Session>(kb, options);  // builds: outside the lock
    }
    void Give(std::unique_ptr<quorvin::Session> session) {
        session->SetQuestionCallback(nullptr);
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back(std::move(session));
    }
    const quorvin::KnowledgeBase &Kb() const { return kb; }

private:
    quorvin::KnowledgeBase kb;
    quorvin::SessionOptions options;
    std::mutex mutex;
    std::vector<std::unique_ptr<quorvin::Session>> idle;
};

// One consultation on a borrowed session.
PyResult Consult(SessionPool &pool, quorvin::Answers answers, const quorvin::QuestionCallback &callback, bool explain) {
    std::unique_ptr<quorvin::Session> session = pool.Take();
    session->SetQuestionCallback(callback);
    PyResult out;
    try {
        out.result = session->Run(std::move(answers));
    } catch (...) {
        pool.Give(std::move(session));
        throw;
    }
    if (explain && out.result.status != quorvin::Status::invalid)
        for (const quorvin::Goal &goal : out.result.goals) out.explanations[goal.name] = session->Explain(goal.name);
    pool.Give(std::move(session));
    return out;
}

// A Python value as the text a user would type: strings as they are,
// whole numbers without a decimal point, booleans as "yes" and "no".
// None and NaN are no answer.
std::optional<std::string> AnswerText(const py::handle &value) {
    if (value.is_none()) return std::nullopt;
    if (py::isinstance<py::str>(value)) return value.cast<std::string>();
    // numpy's booleans (a data frame's) are no Python bool, but mean the same.
    const bool boolean = py::isinstance<py::bool_>(value) ||
                         py::type::of(value).attr("__name__").cast<std::string>() == "bool_";
    if (boolean) return py::bool_(py::reinterpret_borrow<py::object>(value)) ? "yes" : "no";
    if (py::isinstance<py::int_>(value)) return py::str(value).cast<std::string>();
    if (py::isinstance<py::float_>(value) || py::hasattr(value, "__float__")) {
        const double number = value.cast<double>();
        if (std::isnan(number)) return std::nullopt;
        if (std::floor(number) == number && std::fabs(number) < 1e15) return std::to_string(static_cast<long long>(number));
        return py::str(py::float_(number)).cast<std::string>();
    }
    throw py::type_error("an answer must be a string, a number or a boolean, not " +
                         py::str(py::type::of(value)).cast<std::string>());
}

quorvin::Answers ToAnswers(const py::handle &mapping) {
    quorvin::Answers answers;
    if (mapping.is_none()) return answers;
    // dict() of a string or a list of names fails with a message about
    // "update sequences" that says nothing of the answers.
    // A dict, the usual case, is taken without looking the abstract type up.
    if (!py::isinstance<py::dict>(mapping) &&
        !py::isinstance(mapping, py::module_::import("collections.abc").attr("Mapping")))
        throw py::type_error("answers must be a mapping of names to answers, such as a dict, not " +
                             py::str(py::type::of(mapping)).cast<std::string>());
    const py::dict dict(py::reinterpret_borrow<py::object>(mapping));
    for (const auto &item : dict) {
        if (auto text = AnswerText(item.second)) answers[py::str(item.first).cast<std::string>()] = *text;
    }
    return answers;
}

// The callback of Python, called with the GIL held.
quorvin::QuestionCallback ToCallback(const py::object &callback) {
    if (callback.is_none()) return nullptr;
    return [callback](const quorvin::Question &question) -> std::optional<std::string> {
        py::object answer = callback(question);
        if (answer.is_none()) return std::nullopt;
        return AnswerText(answer).value_or(std::string());
    };
}

// Many consultations on `threads` threads, the GIL released; results in
// the order of the cases.
std::vector<PyResult> ConsultMany(SessionPool &pool, std::vector<quorvin::Answers> cases, unsigned threads,
                                  bool explain) {
    std::vector<PyResult> results(cases.size());
    std::atomic<size_t> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;  // the first thread's, raised once all have ended
    const auto work = [&] {
        try {
            for (size_t i = next++; i < cases.size(); i = next++)
                results[i] = Consult(pool, std::move(cases[i]), nullptr, explain);
        } catch (...) {
            std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure) failure = std::current_exception();
            next = cases.size();
        }
    };
    {
        py::gil_scoped_release released;
        std::vector<std::thread> workers;
        for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
        work();
        for (std::thread &worker : workers) worker.join();
    }
    if (failure) std::rethrow_exception(failure);
    return results;
}

unsigned ThreadCount(const py::object &threads) {
    if (!threads.is_none()) return std::max(1, threads.cast<int>());
    return std::max(1u, std::thread::hardware_concurrency());
}

// The error raised for a knowledge base that does not build.
py::object BuildErrorType() { return py::module_::import("quorvin._quorvin").attr("BuildError"); }

std::shared_ptr<SessionPool> Load(const py::object &path, const py::object &text, const std::string &directory,
                                  const std::string &name, bool writeFiles) {
    if (path.is_none() == text.is_none()) throw py::value_error("give either a path or text=");
    // os.fspath: a str or a path-like object.
    const std::string file = path.is_none() ? std::string() : py::module_::import("os").attr("fspath")(path).cast<std::string>();
    const std::string source = text.is_none() ? std::string() : text.cast<std::string>();
    quorvin::KnowledgeBase kb = [&] {
        py::gil_scoped_release released;
        return text.is_none() ? quorvin::KnowledgeBase::FromFile(file, {writeFiles})
                              : quorvin::KnowledgeBase::FromText(source, directory, name, {writeFiles});
    }();
    if (!kb.Built()) {
        py::object error = BuildErrorType()(kb.ErrorText());
        error.attr("lines") = kb.BuildLines();
        error.attr("line") = kb.Error() ? py::cast(kb.Error()->line) : py::none();
        error.attr("column") = kb.Error() ? py::cast(kb.Error()->column) : py::none();
        error.attr("detail") = kb.Error() ? py::cast(kb.Error()->detail) : py::none();
        PyErr_SetObject(error.get_type().ptr(), error.ptr());
        throw py::error_already_set();
    }
    return std::make_shared<SessionPool>(std::move(kb), quorvin::SessionOptions{writeFiles, writeFiles});
}

}  // namespace

PYBIND11_MODULE(_quorvin, m) {
    m.doc() = "Consult Quorvin knowledge bases in-process.";

    py::exec(R"(
class BuildError(Exception):
    """A knowledge base that does not build.

    str(error) is the build's error line (or why the file could not be
    read); ``lines`` holds every line the build printed, ``line``,
    ``column`` and ``detail`` the cause and place when the compiler gave
    them (else None).
    """
)", m.attr("__dict__"));

    py::class_<quorvin::Question>(m, "Question", "A question of a consultation, as the console asks it.")
        .def_property_readonly("kind", [](const quorvin::Question &q) { return quorvin::QuestionKindName(q.kind); },
                               "'probability', 'certainty', 'value', 'interval', 'choice', 'parameter' or 'taxonomy'.")
        .def_readonly("name", &quorvin::Question::name, "The node, parameter or taxonomy asked about.")
        .def_readonly("subject", &quorvin::Question::subject, "The node's description (the parameter's, the taxonomy's name).")
        .def_readonly("text", &quorvin::Question::text, "The whole question as the console prints it.")
        .def_readonly("help", &quorvin::Question::help, "What kind of answer is expected.")
        .def_readonly("options", &quorvin::Question::options, "The choices, or the taxonomy's classes, root first.")
        .def_readonly("rejection", &quorvin::Question::rejection, "Why the last answer was refused; '' the first time.")
        .def("__repr__", [](const quorvin::Question &q) {
            return "<Question " + std::string(quorvin::QuestionKindName(q.kind)) + " " + q.name + ">";
        });

    py::class_<quorvin::Goal>(m, "Goal", "A goal with its a-priori and a-posteriori value.")
        .def_readonly("name", &quorvin::Goal::name)
        .def_readonly("prior", &quorvin::Goal::prior)
        .def_readonly("current", &quorvin::Goal::current)
        .def("__repr__", [](const quorvin::Goal &g) {
            return "<Goal " + g.name + " " + std::to_string(g.prior) + " -> " + std::to_string(g.current) + ">";
        });

    py::class_<quorvin::Node>(m, "Node", "A node of the net as the consultation left it.")
        .def_readonly("name", &quorvin::Node::name)
        .def_property_readonly("kind", [](const quorvin::Node &n) { return NodeKindName(n.kind); },
                               "'bayesian', 'and', 'or' or 'not'.")
        .def_readonly("goal", &quorvin::Node::goal)
        .def_readonly("askable", &quorvin::Node::askable)
        .def_readonly("prior", &quorvin::Node::prior)
        .def_readonly("current", &quorvin::Node::current)
        .def_readonly("asked", &quorvin::Node::asked)
        .def_readonly("finished", &quorvin::Node::finished)
        .def("__repr__", [](const quorvin::Node &n) { return "<Node " + n.name + " " + std::to_string(n.current) + ">"; });

    py::class_<PyResult>(m, "Result", "The outcome of one consultation.")
        .def_property_readonly("status", [](const PyResult &r) { return quorvin::StatusName(r.result.status); },
                               "'ok', 'error', 'aborted', or 'invalid' when not consulted (an unknown answer name).")
        .def_property_readonly("status_text", [](const PyResult &r) { return r.result.statusText; },
                               "The last status text, e.g. 'Done, consulted ok.'.")
        .def_property_readonly("error",
                               [](const PyResult &r) -> py::object {
                                   return r.result.error.empty() ? py::object(py::none()) : py::object(py::str(r.result.error));
                               },
                               "What went wrong, or None.")
        .def_property_readonly("goals", [](const PyResult &r) { return r.result.goals; },
                               "The goals, most probable first, as the consultation left them.")
        .def_property_readonly("nodes", [](const PyResult &r) { return r.result.nodes; },
                               "Every node, in declaration order.")
        .def_property_readonly("messages", [](const PyResult &r) { return r.result.messages; },
                               "The messages the consultation showed.")
        .def_readonly("explanations", &PyResult::explanations,
                      "How every goal got its value, by goal name (consult(..., explain=True)); else empty.")
        .def("goal_values", [](const PyResult &r) {
                 py::dict values;
                 for (const quorvin::Goal &goal : r.result.goals) values[py::str(goal.name)] = goal.current;
                 return values;
             },
             "The goals' a-posteriori values by name.")
        .def("__repr__", [](const PyResult &r) {
            return "<Result " + std::string(quorvin::StatusName(r.result.status)) + ", " +
                   std::to_string(r.result.goals.size()) + " goals>";
        });

    py::class_<SessionPool, std::shared_ptr<SessionPool>>(m, "KnowledgeBase", R"(A built knowledge base.

KnowledgeBase(path) reads and builds a .qvb file; KnowledgeBase(text=...,
directory=..., name=...) builds a text. Raises BuildError, with the build's
lines, when it does not build. With write_files=True the help pages, reports
and output tables the knowledge base names are written as the console
writes them; by default nothing is written.

Consultations may run on several threads at once: each thread borrows a
session of its own.)")
        .def(py::init(&Load), py::arg("path") = py::none(), py::kw_only(), py::arg("text") = py::none(),
             py::arg("directory") = "", py::arg("name") = "", py::arg("write_files") = false)
        .def_property_readonly("name", [](const SessionPool &p) { return p.Kb().Name(); })
        .def_property_readonly("build_lines", [](const SessionPool &p) { return p.Kb().BuildLines(); },
                               "Every line the build printed.")
        .def_property_readonly("nodes", [](const SessionPool &p) { return p.Kb().Nodes(); },
                               "The node names, in declaration order.")
        .def_property_readonly("goals", [](const SessionPool &p) { return p.Kb().Goals(); },
                               "The goal names, in declaration order.")
        .def_property_readonly("parameters", [](const SessionPool &p) { return p.Kb().Parameters(); },
                               "The parameters asked at every consultation.")
        .def_property_readonly("taxonomies", [](const SessionPool &p) { return p.Kb().Taxonomies(); },
                               "The taxonomy names.")
        .def(
            "consult",
            [](SessionPool &pool, const py::object &answers, const py::object &callback, bool explain) {
                quorvin::Answers map = ToAnswers(answers);
                if (callback.is_none()) {
                    py::gil_scoped_release released;
                    return Consult(pool, std::move(map), nullptr, explain);
                }
                return Consult(pool, std::move(map), ToCallback(callback), explain);
            },
            py::arg("answers") = py::none(), py::kw_only(), py::arg("callback") = py::none(),
            py::arg("explain") = false, R"(Runs one consultation and returns its Result.

answers maps node, parameter and taxonomy names to what a user would type
("y", "-3", "0.8", "2 5 3", "Green", a class name); numbers stand for their
text, True and False for "yes" and "no", None for no answer. A name the
knowledge base does not know gives status 'invalid'. Questions the map does
not answer, and questions asked again after a refused answer, go to
callback(question) when one is given: it returns the line ('' is "Don't
know") or None to abort; an exception it raises aborts the consultation and
is raised again here. Without a callback an unanswered question is "Don't
know" and a refused answer ends the consultation with status 'error'.
explain=True fills result.explanations.)")
        .def(
            "consult_many",
            [](SessionPool &pool, const py::iterable &cases, const py::object &threads, bool explain) {
                // Iterating a data frame gives its column names, not its rows.
                if (py::hasattr(cases, "to_dict") && py::hasattr(cases, "columns"))
                    throw py::type_error("consult_many takes a list of answer mappings; consult_frame "
                                         "consults the rows of a data frame");
                std::vector<quorvin::Answers> list;
                for (const py::handle &item : cases) list.push_back(ToAnswers(item));
                return ConsultMany(pool, std::move(list), ThreadCount(threads), explain);
            },
            py::arg("cases"), py::kw_only(), py::arg("threads") = py::none(), py::arg("explain") = false,
            R"(Consults every answers mapping of cases and returns the Results in the
same order. Runs on `threads` threads (default: one per core) with the GIL
released; a bad case gives its own Result ('invalid' or 'error') and the
others go on.)");
}
