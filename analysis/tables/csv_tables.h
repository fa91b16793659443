// The CSV tables of the step count, the procedures and the API declarations:
// one row per member, per procedure, per API declaration, members in
// project order.
#pragma once

#include "analysis/tables/csv_writer.h"
#include "analysis/writer.h"

#include <memory>

namespace kolvane {

// NAME_StCnt.csv: project,file,kind,path,status,steps,comments
std::unique_ptr<Writer> MakeStepCountCsv(const OutputContext& context);
// NAME_FncOp.csv: project,file,kind,procedure,name,scope,line,steps,declaration
std::unique_ptr<Writer> MakeProcedureCsv(const OutputContext& context);
// NAME_APIOp.csv: project,file,kind,procedure,name,scope,library,alias,line,declaration
std::unique_ptr<Writer> MakeApiCsv(const OutputContext& context);

// A writer of one CSV file over the members of the project: it creates the
// file with its header row at Begin, makes each member's rows ahead of its
// turn (Rows, on any thread), appends them at its turn, and closes the file
// at Finish; a file that cannot be created or written whole is reported.
class CsvTable : public Writer {
public:
    CsvTable(const OutputContext& context, std::string_view suffix, std::initializer_list<std::string_view> columns);

    bool Begin(Reporter& reporter) override;
    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override;
    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override;
    bool Finish(Reporter& reporter) override;
    std::vector<std::string> Files() const override { return {path_}; }

protected:
    // The rows of one member of the project; rowStart holds the first
    // columns of each of its rows (project, file, kind) as CSV.
    virtual void Rows(const ScannedModule& module, std::string_view rowStart, CsvRows& rows) const = 0;

    const OutputContext& context_;

private:
    CsvWriter csv_;
    std::string path_;
    std::vector<std::string_view> columns_;
};

}  // namespace kolvane
