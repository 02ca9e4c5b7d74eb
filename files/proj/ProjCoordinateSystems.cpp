#include "files/proj/ProjCoordinateSystems.h"

#include <proj.h>

#include <cmath>
#include <cstring>

namespace {

// A PROJ context and the last error it logged, shared by the systems opened
// in it, which must not outlive it.
class ProjContext {
public:
    explicit ProjContext(const std::string& dataFolder) : context_(proj_context_create()) {
        proj_log_func(context_, this, &ProjContext::log);
        proj_log_level(context_, PJ_LOG_ERROR);
        proj_context_set_enable_network(context_, 0);
        if (!dataFolder.empty()) {
            const char* paths[] = {dataFolder.c_str()};
            proj_context_set_search_paths(context_, 1, paths);
        }
    }
    ~ProjContext() { proj_context_destroy(context_); }
    ProjContext(const ProjContext&) = delete;
    ProjContext& operator=(const ProjContext&) = delete;

    PJ_CONTEXT* get() const { return context_; }
    void clearError() { error_.clear(); }
    // What PROJ said last, without the name of its function in front; else
    // fallback.
    std::string error(const std::string& fallback) const { return error_.empty() ? fallback : error_; }

private:
    static void log(void* self, int level, const char* message) {
        if (level > PJ_LOG_ERROR || !message) return;
        std::string text = message;
        const std::size_t colon = text.find(": ");
        if (colon != std::string::npos && text.compare(0, 5, "proj_") == 0) text.erase(0, colon + 2);
        static_cast<ProjContext*>(self)->error_ = text;
    }

    PJ_CONTEXT* context_;
    std::string error_;
};

struct PjDeleter {
    void operator()(PJ* object) const { proj_destroy(object); }
};
using PjPointer = std::unique_ptr<PJ, PjDeleter>;

class ProjSystem : public CoordinateSystem {
public:
    // text: what the user named it by, its name when PROJ has none for it.
    ProjSystem(std::shared_ptr<ProjContext> context, PjPointer toWgs84, const PJ* crs, const std::string& text)
        : context_(std::move(context)), toWgs84_(std::move(toWgs84)) {
        const char* name = proj_get_name(crs);
        name_ = name && *name && std::strcmp(name, "unknown") != 0 ? name : text;
        const char* authority = proj_get_id_auth_name(crs, 0);
        const char* code = proj_get_id_code(crs, 0);
        if (authority && code) code_ = std::string(authority) + ":" + code;
        double west, south, east, north;
        hasArea_ = proj_get_area_of_use(context_->get(), crs, &west, &south, &east, &north, nullptr) &&
                   west > -1000.0;  // PROJ's -1000 for "unknown"
        if (hasArea_) area_ = GeoArea{west, south, east, north};
    }

    const std::string& name() const override { return name_; }
    const std::string& code() const override { return code_; }
    const GeoArea* areaOfUse() const override { return hasArea_ ? &area_ : nullptr; }

    bool position(double north, double east, GeoPosition& out) override {
        if (!(north == lastNorth_ && east == lastEast_)) {
            lastNorth_ = north;
            lastEast_ = east;
            PJ_COORD grid = proj_coord(east, north, 0.0, HUGE_VAL);
            proj_errno_reset(toWgs84_.get());
            const PJ_COORD wgs84 = proj_trans(toWgs84_.get(), PJ_FWD, grid);
            last_ = GeoPosition{wgs84.lp.lam, wgs84.lp.phi};
            lastValid_ = proj_errno(toWgs84_.get()) == 0 && std::isfinite(last_.longitude) &&
                         std::isfinite(last_.latitude) && std::fabs(last_.latitude) <= 90.0 &&
                         std::fabs(last_.longitude) <= 360.0;
        }
        out = last_;
        return lastValid_;
    }

private:
    std::shared_ptr<ProjContext> context_;
    PjPointer toWgs84_;
    std::string name_, code_;
    bool hasArea_ = false;
    GeoArea area_;
    double lastNorth_ = NAN, lastEast_ = NAN;
    GeoPosition last_;
    bool lastValid_ = false;
};

// A PROJ string names a coordinate operation unless it says it is a
// system: "+proj=utm +zone=50" is taken for the system it projects to, as
// PROJ's own tools take it.
bool isProjString(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start != std::string::npos && (text[start] == '+' || text.compare(start, 5, "proj=") == 0);
}

bool hasNoGrid(PJ_TYPE type) {
    return type == PJ_TYPE_GEOCENTRIC_CRS || type == PJ_TYPE_VERTICAL_CRS || type == PJ_TYPE_TEMPORAL_CRS;
}

class ProjSystems : public CoordinateSystems {
public:
    explicit ProjSystems(const std::string& dataFolder)
        : dataFolder_(dataFolder), context_(std::make_shared<ProjContext>(dataFolder)) {}

    std::string missingData() override {
        context_->clearError();
        if (proj_context_get_database_path(context_->get())) return std::string();
        if (!dataFolder_.empty())
            return "PROJ's database proj.db is missing from " + dataFolder_ +
                   ", where it ships beside the program; install or unpack the program again";
        return "PROJ's database proj.db cannot be found (" + context_->error("not in PROJ's data folder") +
               "); install Debian's proj-data, or name its folder in PROJ_DATA";
    }

    std::unique_ptr<CoordinateSystem> open(const std::string& text, std::string& error) override {
        PJ_CONTEXT* context = context_->get();
        context_->clearError();
        PjPointer crs(proj_create(context, text.c_str()));
        if (crs && !proj_is_crs(crs.get()) && isProjString(text))
            crs.reset(proj_create(context, (text + " +type=crs").c_str()));
        if (!crs) {
            error = context_->error("PROJ does not know it");
            return nullptr;
        }
        if (!proj_is_crs(crs.get())) {
            error = "it is no coordinate system but an operation or another object of PROJ's";
            return nullptr;
        }
        if (hasNoGrid(proj_get_type(crs.get()))) {
            error = "a geocentric, vertical or time system has no north and east";
            return nullptr;
        }
        PjPointer wgs84(proj_create(context, "EPSG:4326"));
        PjPointer operation;
        if (wgs84) operation.reset(proj_create_crs_to_crs_from_pj(context, crs.get(), wgs84.get(), nullptr, nullptr));
        PjPointer normalized;
        if (operation) normalized.reset(proj_normalize_for_visualization(context, operation.get()));
        if (!normalized) {
            error = context_->error("PROJ finds no conversion from it to WGS 84 longitude and latitude");
            return nullptr;
        }
        return std::make_unique<ProjSystem>(context_, std::move(normalized), crs.get(), text);
    }

    std::string codeOfName(const std::string& name) override {
        context_->clearError();
        const PJ_TYPE types[] = {PJ_TYPE_PROJECTED_CRS};
        PJ_OBJ_LIST* found = proj_create_from_name(context_->get(), "EPSG", name.c_str(), types, 1, 0, 0, nullptr);
        if (!found) return std::string();
        std::string code;
        for (int i = 0, n = proj_list_get_count(found); i < n && code.empty(); ++i) {
            PjPointer crs(proj_list_get(context_->get(), found, i));
            const char* foundName = crs ? proj_get_name(crs.get()) : nullptr;
            const char* id = crs ? proj_get_id_code(crs.get(), 0) : nullptr;
            if (foundName && id && name == foundName && !proj_is_deprecated(crs.get()))
                code = std::string("EPSG:") + id;
        }
        proj_list_destroy(found);
        return code;
    }

private:
    const std::string dataFolder_;
    std::shared_ptr<ProjContext> context_;
};

}  // namespace

std::unique_ptr<CoordinateSystems> openProjCoordinateSystems(const std::string& dataFolder) {
    return std::make_unique<ProjSystems>(dataFolder);
}
