// Placeholder so the layer library builds before its first unit lands.
namespace { [[maybe_unused]] int windows_placeholder = 0; }
