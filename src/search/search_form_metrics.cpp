#include "search/search_form_metrics.h"

namespace arkivo {
namespace {

FormSize Scaled(FormSize design, int pixelsPerInch) {
    return {design.Width * pixelsPerInch / DesignPixelsPerInch,
            design.Height * pixelsPerInch / DesignPixelsPerInch};
}

}  // namespace

FormSize SearchFormInitialSize(int pixelsPerInch) {
    return Scaled({630, 479}, pixelsPerInch);
}

FormSize SearchFormMinimumSize(int pixelsPerInch) {
    return Scaled({525, 250}, pixelsPerInch);
}

}  // namespace arkivo
