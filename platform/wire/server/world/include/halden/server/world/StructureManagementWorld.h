// CAD structure management in the sample world: revision rules, and the BOM
// windows and lines that requests open, expand and walk over the catalog's
// products.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "halden/server/StructureManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/ProductCatalog.h"

namespace Halden::Soa::Server {

class StructureManagementWorld : public StructureManagementStub {
 public:
  StructureManagementWorld(WorldStore& store, ProductCatalog& catalog) : store_(store), catalog_(catalog) {}

  // A revision rule named name with these entry objects (each of a
  // "CFMRuleEntry" type), listed after the rules added before it.
  void add_revision_rule(const std::string& uid, const std::string& name, std::vector<std::string> entry_uids);
  // The BOM windows created and not closed yet.
  std::vector<std::string> open_windows() const;

  RevisionRulesReply getRevisionRules() override;
  BomWindowsReply createBomWindows(const std::vector<BomWindowRequest>& requests) override;
  // A closed window keeps its record, so that closing it again is refused,
  // and drops its lines.
  WireServiceData closeBomWindows(const std::vector<std::string>& window_uids) override;
  // A line's children are made on its first expansion, each configured by
  // the window's rule; "bl_line_name" names them.
  ExpandBomLinesReply expandBomLinesOneLevel(const std::vector<std::string>& line_uids,
                                             const ExpandInfo& info) override;
  // Each path names lines below the scope (a window's top line, or a line)
  // by "bl_line_name"; a path found answers its last name as the key.
  BomLinesByPathReply getBomLinesByPath(const std::vector<BomPathRequest>& requests) override;
  ConfiguredRevisionsReply getConfiguredRevisions(const std::vector<ConfiguredRevisionRequest>& requests) override;

  // Relative structure (RelativeStructureWorld.cpp). A child with a cadOccId
  // the parent's BOM view holds changes that occurrence; any other child is
  // a new occurrence ("occ-<n>") with a new thread ("thread-<n>"), in a BOM
  // view made when the parent has none. A 2007-12 record whose date is not
  // the BOM view's "last_mod_date" is refused; every change moves that date
  // on. The reply carries the parents with their BOM views. Deletes name
  // occurrence threads.
  RelativeStructureReply createOrUpdateRelativeStructure(const std::vector<RelativeStructureRecord>& parents,
                                                         const std::string& view_type, bool complete,
                                                         const RelativeStructureOptions& options) override;
  RelativeStructureReply createOrUpdateRelativeStructure2(const std::vector<RelativeStructureRecord2>& parents,
                                                          const std::string& view_type, bool complete,
                                                          const RelativeStructureOptions2& options) override;
  WireServiceData deleteRelativeStructure(const std::vector<DeleteStructureRecord>& parents,
                                          const std::string& view_type,
                                          const RelativeStructureOptions& options) override;
  WireServiceData deleteRelativeStructure2(const std::vector<DeleteStructureRecord2>& parents,
                                           const std::string& view_type,
                                           const RelativeStructureOptions2& options) override;

  // An occurrence saved through relative structure, by its thread; null
  // when the world holds none.
  struct SavedOccurrence {
    std::string parent_uid, uid, thread_uid, child_item_id, cad_occ_id;
    bool as_required = false;
    std::vector<double> transform;
    std::vector<OccurrenceNote> notes;
    std::vector<OccurrenceAttribute> attributes;
  };
  std::unique_ptr<SavedOccurrence> saved_occurrence(const std::string& thread_uid) const;

 private:
  struct Window {
    std::string rule_uid, top_line;
    bool open = true;
    int lines = 0;
    std::vector<std::string> line_uids;  // every line made in it, dropped at close
  };
  struct Line {
    std::string window_uid, revision_uid, name;
    bool expanded = false;
    std::vector<std::string> children;
    std::unordered_map<std::string, std::size_t> child_by_name;  // the first child of each name
  };

  std::string make_line(const std::string& window_uid, const std::string& revision_uid, const std::string& parent_uid,
                        const std::string& name, int quantity, int sequence);
  const std::vector<std::string>& children_of(const std::string& line_uid);
  // The first child of the line with that name; null when it has none.
  const std::string* child_named(const std::string& line_uid, const std::string& name);
  BomLineData line_data(const std::string& line_uid, const ExpandInfo& info, UidList& carried) const;
  const Line* scope_line(const std::string& uid, std::string* line_uid) const;
  template <class Record>
  RelativeStructureReply save_structure(const std::vector<Record>& parents);
  template <class Record>
  WireServiceData delete_structure(const std::vector<Record>& parents);

  WorldStore& store_;
  ProductCatalog& catalog_;
  std::vector<std::string> revision_rules_;
  std::map<std::string, Window> windows_;        // by UID
  std::unordered_map<std::string, Line> lines_;  // by UID
  int window_count_ = 0;
};

}  // namespace Halden::Soa::Server
