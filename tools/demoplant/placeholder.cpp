namespace { [[maybe_unused]] int demo_placeholder = 0; }
