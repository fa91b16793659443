// NAME.json: the project and its members, each member an object on a line
// of its own holding the parts of the chosen analyses; numbers as numbers,
// what is absent as null. The parts come from the analyses' rows of the
// output table.
#pragma once

#include "analysis/tables/project_figures.h"
#include "analysis/writer.h"

#include <memory>
#include <string>
#include <vector>

namespace kolvane {

// What one analysis adds to NAME.json.
class JsonPart {
public:
    virtual ~JsonPart() = default;
    // The part of a member's work that needs nothing but the turn, done
    // ahead of it on any thread (see Writer::Prepare); null when none.
    virtual std::unique_ptr<PreparedModule> Prepare(const ModuleTurn&) const { return nullptr; }
    // Appends the part's fields of a member's object, each as ,"name":value,
    // given what Prepare made of the member (may be null).
    virtual void Module(const ScannedModule& module, const PreparedModule* prepared, std::string& object) = 0;
    // Whether some of the part's fields of a member are known only once
    // every member has been taken: the member objects wait until Finish then.
    virtual bool Deferred() const { return false; }
    // After the last member, before the calls below.
    virtual void Finish() {}
    // The deferred fields of the member taken index-th (from 0).
    virtual void CompleteModule(std::size_t /*index*/, std::string& /*object*/) {}
    // The part's fields of the project object, after "modules".
    virtual void ProjectFields(std::string& /*object*/) {}
    // Adds what the part knows of the project to its summary.
    virtual void Summarize(ProjectFigures&) const {}
};

std::unique_ptr<JsonPart> MakeStepCountJson(const OutputContext& context);
std::unique_ptr<JsonPart> MakeProcedureJson(const OutputContext& context);
std::unique_ptr<JsonPart> MakeApiJson(const OutputContext& context);

// The one JSON file of a project, holding the parts.
std::unique_ptr<Writer> MakeJsonReport(const OutputContext& context, std::vector<std::unique_ptr<JsonPart>> parts);

}  // namespace kolvane
