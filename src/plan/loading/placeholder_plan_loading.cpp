// Placeholder so the layer library builds before its first unit lands.
namespace { [[maybe_unused]] int plan_loading_placeholder = 0; }
